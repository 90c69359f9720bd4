#pragma once
// The five small information windows: Language, about the company, the NFC system,
// the licence and Help. Fixed size, centred, shown without blocking the main window.

#include "desktop/controls.h"

#include <QDialog>
#include <QListWidget>
#include <QTextEdit>

// Hands a web address to the system's default handler; when no browser could be
// opened a message names the address for the user to copy (OpenWebAddress).
void OpenWebPage(const QString &address);

// Base of the five windows: fixed client size, only the close button, centred on the
// window that owns it (the main window) each time it is shown.
class TInfoForm : public QDialog {
    Q_OBJECT
public:
    TInfoForm(const QString &caption, QSize clientSize, QWidget *parent = nullptr);
    // Shows the window without blocking and brings it to the front.
    void ShowWindow();

protected:
    // Once the controls are built: at a larger font than the design's every fixed
    // position and size grows with it.
    void FitToFont();
};

class TForm3 : public TInfoForm { // Language
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);
    QLabel *Label1 = nullptr;
    QListWidget *ListBox1 = nullptr;
    TButton *LanguageOkButton = nullptr;
    TButton *LanguageCancelButton = nullptr;
    void LanguageOkButtonClick();
    void LanguageCancelButtonClick();
};

class TForm4 : public TInfoForm { // about the company
    Q_OBJECT
public:
    explicit TForm4(QWidget *parent = nullptr);
    QLabel *Label1 = nullptr;
    TButton *OpenWebPageButton = nullptr;
    void OpenWebPageButtonClick();
};

class TForm5 : public TInfoForm { // the NFC system
    Q_OBJECT
public:
    explicit TForm5(QWidget *parent = nullptr);
    QLabel *Label1 = nullptr;
    TButton *NFCOpenWebPageButton = nullptr;
    void NFCOpenWebPageButtonClick();
};

class TForm6 : public TInfoForm { // License
    Q_OBJECT
public:
    // `programFolder` empty: the folder of the running program.
    explicit TForm6(const QString &programFolder = {}, QWidget *parent = nullptr);
    QTextEdit *LicenceRichEdit = nullptr;
    // Loads "license.rtf" from the program's folder when it is there.
    void FormCreate(const QString &programFolder);
};

class TForm7 : public TInfoForm { // Help
    Q_OBJECT
public:
    explicit TForm7(QWidget *parent = nullptr);
    TButton *HelpProductButton = nullptr;
    TButton *HelpCompanyButton = nullptr;
    TButton *HelpLicenceButton = nullptr;
    TButton *HelpUpdatesButton = nullptr;
    TButton *HelpManualButton = nullptr;
    void HelpProductButtonClick();
    void HelpCompanyButtonClick();
    void HelpLicenceButtonClick();
    void HelpUpdatesButtonClick();
    // Opens the HTML user manual in the browser, or says where it is.
    void HelpManualButtonClick();

signals:
    // "license" was pressed.
    void licenceWanted();
};


// Tests replace the system's handler to see which address would be opened.
void SetWebPageOpener(std::function<void(const QString &)> opener);
