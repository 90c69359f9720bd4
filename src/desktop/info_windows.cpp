#include "desktop/info_windows.h"

#include "app/rtf_text.h"
#include "desktop/font_scale.h"
#include "desktop/pictures.h"
#include "app/user_manual_opener.h"
#include "app/web_page_opener.h"
#include "common/program_files.h"
#include "desktop/window_owner.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QUrl>


namespace {
std::function<void(const QString &)> g_opener;
}

void SetWebPageOpener(std::function<void(const QString &)> opener) { g_opener = std::move(opener); }

void OpenWebPage(const QString &address)
{
    if (g_opener) {
        g_opener(address);
        return;
    }
    OpenWebAddress(address); // says so, with the address, when no browser could be opened
}

// ---- TInfoForm -------------------------------------------------------------------

TInfoForm::TInfoForm(const QString &caption, QSize clientSize, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(clientSize);
    setModal(false);
    // Opens centred on the main window, inside the screen.
    SetWindowOwner(this, parent);
}

void TInfoForm::FitToFont() { ScaleFixedGeometry(this, WindowFontScale(this)); }

void TInfoForm::ShowWindow()
{
    show();
    raise();
    activateWindow();
}


namespace {
QLabel *infoLabel(QWidget *parent, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    label->setGeometry(geometry);
    return label;
}

TButton *button(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *b = new TButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    return b;
}
} // namespace

// ---- Language ---------------------------------------------------------------------

TForm3::TForm3(QWidget *parent) : TInfoForm(QStringLiteral("  Language"), QSize(329, 369), parent)
{
    setObjectName(QStringLiteral("Form3"));
    Label1 = infoLabel(this, QStringLiteral("Do you want do change the language?"), QRect(16, 12, 297, 24));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(16, 42, 297, 270);
    LanguageOkButton = button(this, "LanguageOkButton", QStringLiteral("OK"), QRect(138, 326, 84, 30));
    LanguageCancelButton = button(this, "LanguageCancelButton", QStringLiteral("Cancel"), QRect(229, 326, 84, 30));
    connect(LanguageOkButton, &QPushButton::clicked, this, [this] { RunUserAction([this] { LanguageOkButtonClick(); }); });
    connect(LanguageCancelButton, &QPushButton::clicked, this,
            [this] { RunUserAction([this] { LanguageCancelButtonClick(); }); });
    FitToFont();
}

// The program speaks English only; there is no language to choose.
void TForm3::LanguageOkButtonClick() {}

void TForm3::LanguageCancelButtonClick() { close(); }

// ---- About the company --------------------------------------------------------------

TForm4::TForm4(QWidget *parent) : TInfoForm(QStringLiteral("  Tavel"), QSize(369, 178), parent)
{
    setObjectName(QStringLiteral("Form4"));
    Label1 = infoLabel(this, QStringLiteral("information about the company..."), QRect(20, 20, 329, 80));
    OpenWebPageButton = button(this, "OpenWebPageButton", QStringLiteral("open web page"), QRect(219, 130, 130, 30));
    connect(OpenWebPageButton, &QPushButton::clicked, this,
            [this] { RunUserAction([this] { OpenWebPageButtonClick(); }); });
    FitToFont();
}

void TForm4::OpenWebPageButtonClick() { OpenWebPage(CompanyWebPage()); }

// ---- The NFC system -----------------------------------------------------------------

TForm5::TForm5(QWidget *parent) : TInfoForm(QStringLiteral("   NFC system"), QSize(331, 194), parent)
{
    setObjectName(QStringLiteral("Form5"));
    Label1 = infoLabel(this, QStringLiteral("information about the NFC system"), QRect(20, 20, 291, 90));
    NFCOpenWebPageButton =
        button(this, "NFCOpenWebPageButton", QStringLiteral("Open web page"), QRect(181, 146, 130, 30));
    connect(NFCOpenWebPageButton, &QPushButton::clicked, this,
            [this] { RunUserAction([this] { NFCOpenWebPageButtonClick(); }); });
    FitToFont();
}

void TForm5::NFCOpenWebPageButtonClick() { OpenWebPage(ProgrammerManualWebPage()); }

// ---- License ---------------------------------------------------------------------------

TForm6::TForm6(const QString &programFolder, QWidget *parent)
    : TInfoForm(QStringLiteral(" License"), QSize(464, 500), parent)
{
    setObjectName(QStringLiteral("Form6"));
    LicenceRichEdit = new QTextEdit(this);
    LicenceRichEdit->setObjectName(QStringLiteral("LicenceRichEdit"));
    LicenceRichEdit->setGeometry(12, 12, 440, 477);
    LicenceRichEdit->setReadOnly(true);
    LicenceRichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    FormCreate(programFolder);
    FitToFont();
}

void TForm6::FormCreate(const QString &programFolder)
{
    const QString folder = programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder;
    QFile file(FindProgramDataFile(QStringLiteral("license.rtf"), folder)); // else the installed one
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return; // no licence beside the program: the box stays empty
    LicenceRichEdit->setHtml(RtfToHtml(file.readAll()));
}

// ---- Help ------------------------------------------------------------------------------

// Five rows of 52 pixels: the four information buttons, then the user manual.
TForm7::TForm7(QWidget *parent) : TInfoForm(QStringLiteral("  Help"), QSize(335, 298), parent)
{
    setObjectName(QStringLiteral("Form7"));
    struct Row {
        TButton **button;
        const char *name;
        const char *caption;
        void (TForm7::*handler)();
    };
    const Row rows[] = {
        {&HelpProductButton, "HelpProductButton", "about product", &TForm7::HelpProductButtonClick},
        {&HelpCompanyButton, "HelpCompanyButton", "about company", &TForm7::HelpCompanyButtonClick},
        {&HelpLicenceButton, "HelpLicenceButton", "license", &TForm7::HelpLicenceButtonClick},
        {&HelpUpdatesButton, "HelpUpdatesButton", "check updates", &TForm7::HelpUpdatesButtonClick},
        {&HelpManualButton, "HelpManualButton", "user manual", &TForm7::HelpManualButtonClick},
    };
    int y = 24;
    int index = 0;
    for (const Row &row : rows) {
        auto *picture = new QLabel(this);
        picture->setPixmap(HelpPicture(index, QSize(28, 28)));
        picture->setGeometry(48, y + 6, 28, 28);
        *row.button = button(this, row.name, QString::fromLatin1(row.caption), QRect(92, y, 180, 40));
        const auto handler = row.handler;
        connect(*row.button, &QPushButton::clicked, this, [this, handler] { RunUserAction([this, handler] { (this->*handler)(); }); });
        y += 52;
        ++index;
    }
    FitToFont();
    // The pictures fill their grown places.
    index = 0;
    for (QLabel *picture : findChildren<QLabel *>(Qt::FindDirectChildrenOnly))
        if (!picture->pixmap().isNull())
            picture->setPixmap(HelpPicture(index++, picture->size()));
}

void TForm7::HelpProductButtonClick() { OpenWebPage(ProductWebPage()); }
void TForm7::HelpCompanyButtonClick() { OpenWebPage(CompanyWebPage()); }
void TForm7::HelpLicenceButtonClick()
{
    emit licenceWanted();
}
void TForm7::HelpUpdatesButtonClick() { OpenWebPage(ProductWebPage()); }
void TForm7::HelpManualButtonClick()
{
    // A test's stand-in for the browser sees the manual's address like a web page's.
    std::function<bool(const QUrl &)> opener;
    if (g_opener)
        opener = [](const QUrl &url) {
            g_opener(url.toString());
            return true;
        };
    OpenUserManual(QString(), opener);
}
