#pragma once
// The program's pictures, drawn for this program: the toolbar's image list, the
// banner pictures, the splash picture and the Help window's small pictures.

#include <QList>
#include <QPixmap>
#include <QSize>

// The toolbar's fourteen pictures (32 x 32): 0 language, 1 save as, 2 save,
// 3 new file, 4 load file, 5 print, 6 settings (radio link), 7 help,
// 8-10 slot buttons 1-3, 11-13 slot buttons 1-3 selected.
QList<QPixmap> ToolBarImages();

// The banner's left picture (the product mark) and right picture (the NFC system).
QPixmap BannerLeftPicture(QSize size);
QPixmap BannerRightPicture(QSize size);

// The splash picture, 1018 x 503.
QPixmap SplashPicture();

// Small pictures beside the Help window's buttons: 0 product, 1 company,
// 2 licence, 3 updates, 4 user manual.
QPixmap HelpPicture(int index, QSize size = QSize(24, 24));

// The amber of the product.
constexpr unsigned kTavelAmberRgb = 0xFBBA00; // RGB(251, 186, 0)
