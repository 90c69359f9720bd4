#include "desktop/tag_info_window.h"

#include "common/dialogs.h"
#include "desktop/font_scale.h"
#include "desktop/window_owner.h"
#include "profile/profile_record.h"
#include "radio/tag_buffers.h"
#include "radio/tag_info.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>


namespace {
QLineEdit *readOnlyEdit(QWidget *parent, int x, int y, int w)
{
    auto *e = new QLineEdit(parent);
    e->setReadOnly(true);
    e->setGeometry(x, y, w, 23);
    return e;
}
QLabel *label(const QString &text, QWidget *parent, int x, int y)
{
    auto *l = new QLabel(text, parent);
    l->move(x, y);
    return l;
}
QListWidget *list(QWidget *parent, int x, int y, int w, int h)
{
    auto *l = new QListWidget(parent);
    l->setGeometry(x, y, w, h);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::Monospace);
    l->setFont(mono);
    return l;
}
} // namespace

TFormTagInfo::TFormTagInfo(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Tag Info"));
    setModal(true);
    // Centred on the window that opened it (ExecOver), else on the main window.
    SetWindowOwner(this, parent);

    TagIdentGroupBox = new QGroupBox(QStringLiteral("Tag Ident Info"), this);
    TagIdentGroupBox->setGeometry(8, 8, 510, 90);
    label(QStringLiteral("GTIN"), TagIdentGroupBox, 10, 28);
    txtGTIN = readOnlyEdit(TagIdentGroupBox, 50, 24, 150);
    label(QStringLiteral("Serial:"), TagIdentGroupBox, 220, 28);
    txtSerial = readOnlyEdit(TagIdentGroupBox, 270, 24, 220);
    label(QStringLiteral("FW"), TagIdentGroupBox, 10, 60);
    txtFW = readOnlyEdit(TagIdentGroupBox, 50, 56, 80);
    label(QStringLiteral("HW"), TagIdentGroupBox, 220, 60);
    txtHW = readOnlyEdit(TagIdentGroupBox, 270, 56, 80);

    RawTagIdentGroupBox = new QGroupBox(QStringLiteral("Raw Tag Ident Info"), this);
    RawTagIdentGroupBox->setGeometry(8, 104, 510, 180);
    lstTagIdent = list(RawTagIdentGroupBox, 10, 22, 490, 148);

    AdjustedParametersPanel = new QGroupBox(QStringLiteral("Adjusted parameters"), this);
    AdjustedParametersPanel->setGeometry(8, 290, 510, 200);
    UserFriendlyDataMemo = new QPlainTextEdit(AdjustedParametersPanel);
    UserFriendlyDataMemo->setReadOnly(true);
    UserFriendlyDataMemo->setGeometry(10, 22, 490, 168);

    btnRefresh = new QPushButton(QStringLiteral("Refresh"), this);
    btnRefresh->setGeometry(8, 500, 120, 30);
    CopyDataToProfileButton = new QPushButton(QStringLiteral("Copy data to active profile"), this);
    CopyDataToProfileButton->setGeometry(300, 500, 218, 30);

    ReadDriverHexDataPanel = new QFrame(this);
    ReadDriverHexDataPanel->setGeometry(526, 8, 226, 522);
    label(QStringLiteral("Tag RW Data"), ReadDriverHexDataPanel, 4, 0);
    label(QStringLiteral("RW size"), ReadDriverHexDataPanel, 4, 24);
    txtRWsize = readOnlyEdit(ReadDriverHexDataPanel, 70, 20, 80);
    lstTagRW = list(ReadDriverHexDataPanel, 4, 48, 218, 210);
    label(QStringLiteral("TAG R Data"), ReadDriverHexDataPanel, 4, 266);
    label(QStringLiteral("R size"), ReadDriverHexDataPanel, 4, 290);
    txtRsize = readOnlyEdit(ReadDriverHexDataPanel, 70, 286, 80);
    lstTagR = list(ReadDriverHexDataPanel, 4, 314, 218, 208);
    ReadDriverHexDataPanel->hide();

    connect(btnRefresh, &QPushButton::clicked, this, [this] { btnRefreshClick(); });
    connect(CopyDataToProfileButton, &QPushButton::clicked, this, [this] { CopyDataToProfileButtonClick(); });

    setFixedSize(kNormalWidth, 540);
    // A larger font than the layout's: every position and size grows with it.
    ScaleFixedGeometry(this, WindowFontScale(this));
}

void TFormTagInfo::SetExpertLayout(bool expert)
{
    ReadDriverHexDataPanel->setVisible(expert);
    setFixedSize(ScaledPixels(this, expert ? kExpertWidth : kNormalWidth), height());
}

void TFormTagInfo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    ShowData();
}

void TFormTagInfo::ShowData()
{
    txtGTIN->clear();
    txtSerial->clear();
    txtFW->clear();
    txtHW->clear();
    lstTagIdent->clear();
    lstTagRW->clear();
    lstTagR->clear();

    lstTagIdent->addItems(TagIdentRawLines(tagBuffers));
    const TagIdentityTexts ident = TagIdentity(tagBuffers);
    txtGTIN->setText(ident.gtin);
    txtFW->setText(ident.fw);
    txtHW->setText(ident.hw);
    txtSerial->setText(ident.serial);

    txtRWsize->setText(TagAreaSizeText(tagBuffers.rwSize()));
    lstTagRW->addItems(TagAreaLines(tagBuffers.rwStart(), tagBuffers.rwSize(), tagBuffers.rw));
    txtRsize->setText(TagAreaSizeText(tagBuffers.rSize()));
    lstTagR->addItems(TagAreaLines(tagBuffers.rStart(), tagBuffers.rSize(), tagBuffers.r));

    ShowUserFriendlyData();
}

void TFormTagInfo::ShowUserFriendlyData()
{
    UserFriendlyDataMemo->clear();
    const STRUCT_XML_FILE_VARIABLES &profile = activeProfile();
    const TagIdentityTexts shown{txtGTIN->text(), txtFW->text(), txtSerial->text(), txtHW->text()};
    if (!TagIdentityMatchesProfile(shown, profile)) {
        dialogs().message(QStringLiteral("Info"), kTagMismatchShowMessage, MsgButtons::OK, MsgIcon::Information);
        return;
    }
    QStringList lines;
    try {
        AppendUserFriendlyLines(tagBuffers, profile, lines);
    } catch (const std::exception &e) {
        UserFriendlyDataMemo->setPlainText(lines.join(QLatin1Char('\n')));
        ShowGeneralError(e);
        return;
    }
    UserFriendlyDataMemo->setPlainText(lines.join(QLatin1Char('\n')));
}

void TFormTagInfo::CopyReadDataToProfile()
{
    STRUCT_XML_FILE_VARIABLES &profile = activeProfile();
    const bool matches = TagIdentityMatchesProfile(TagIdentity(tagBuffers), profile);
    if (!matches
        && dialogs().message(QStringLiteral("Info"), kTagMismatchCopyQuestion, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    bool dcActive = false;
    QStringList notOnTag;
    try {
        dcActive = CopyTagValuesToProfile(tagBuffers, profile, &notOnTag);
    } catch (const std::exception &e) {
        ShowGeneralError(e);
        return;
    }
    emit tagTakenOver(dcActive);
    dialogs().message(QStringLiteral("Info"), matches ? kTagCopiedMessage : kTagCopiedAfterMismatchMessage,
                      MsgButtons::OK, MsgIcon::Information);
    if (!notOnTag.isEmpty())
        dialogs().message(QStringLiteral("Info"),
                          QStringLiteral("Not on the tag, not copied: ") + notOnTag.join(QStringLiteral(", ")));
}

void TFormTagInfo::CleanTagInfoPanel() { MarkTagIdentNotRead(); }
