// The information windows, the licence text reader, the splash and the pictures.
#include "main_window_fixture.h"

#include "app/rtf_text.h"
#include "desktop/desktop_app.h"
#include "desktop/info_windows.h"
#include "desktop/pictures.h"
#include "desktop/splash_screen.h"
#include "app/web_page_opener.h"

#include <QFile>
#include <QScreen>
#include <QTest>
#include <QTextDocument>

namespace {

// The five information windows, connected to `main` as the program connects them.
struct InfoWindows {
    InfoWindows(const QString &licenceFolder, TForm1 *main)
        : Form3(std::make_unique<TForm3>()), Form4(std::make_unique<TForm4>()), Form5(std::make_unique<TForm5>()),
          Form6(std::make_unique<TForm6>(licenceFolder)), Form7(std::make_unique<TForm7>())
    {
        ConnectDesktopWindows({.main = main,
                               .language = Form3.get(),
                               .company = Form4.get(),
                               .nfc = Form5.get(),
                               .licence = Form6.get(),
                               .help = Form7.get()});
    }
    std::unique_ptr<TForm3> Form3;
    std::unique_ptr<TForm4> Form4;
    std::unique_ptr<TForm5> Form5;
    std::unique_ptr<TForm6> Form6;
    std::unique_ptr<TForm7> Form7;
};

struct OpenedPages {
    QStringList pages;
    OpenedPages()
    {
        SetWebPageOpener([this](const QString &a) { pages << a; });
    }
    ~OpenedPages() { SetWebPageOpener(nullptr); }
};

} // namespace

TEST_F(MainWindowTest, InformationWindowsHaveTheirCaptionsSizesAndButtons)
{
    InfoWindows windows(Path("nolicence"), form.get());
    struct Case {
        TInfoForm *window;
        const char *caption;
        QSize size;
    };
    const Case cases[] = {
        {windows.Form3.get(), "  Language", {329, 369}}, {windows.Form4.get(), "  Tavel", {369, 178}},   {windows.Form5.get(), "   NFC system", {331, 194}},
        {windows.Form6.get(), " License", {464, 500}},   {windows.Form7.get(), "  Help", {335, 298}}, // with the "user manual" row
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.window->windowTitle(), QString::fromLatin1(c.caption));
        EXPECT_EQ(c.window->size(), c.size) << c.caption;
        EXPECT_FALSE(c.window->isModal());
        EXPECT_FALSE(c.window->isVisible());
    }
    EXPECT_EQ(windows.Form3->LanguageOkButton->text(), "OK");
    EXPECT_EQ(windows.Form3->LanguageCancelButton->text(), "Cancel");
    EXPECT_EQ(windows.Form3->ListBox1->count(), 0);
    EXPECT_EQ(windows.Form4->OpenWebPageButton->text(), "open web page");
    EXPECT_EQ(windows.Form5->NFCOpenWebPageButton->text(), "Open web page");
    EXPECT_EQ(windows.Form6->LicenceRichEdit->size(), QSize(440, 477));
    EXPECT_TRUE(windows.Form6->LicenceRichEdit->isReadOnly());
    EXPECT_EQ(windows.Form7->HelpProductButton->text(), "about product");
    EXPECT_EQ(windows.Form7->HelpCompanyButton->text(), "about company");
    EXPECT_EQ(windows.Form7->HelpLicenceButton->text(), "license");
    EXPECT_EQ(windows.Form7->HelpUpdatesButton->text(), "check updates");
}

TEST_F(MainWindowTest, ButtonsOpenTheRightWindowsAndPages)
{
    InfoWindows windows(Path("nolicence"), form.get());
    OpenedPages opened;

    form->LanguageToolButton->click();
    EXPECT_TRUE(windows.Form3->isVisible());
    windows.Form3->LanguageCancelButton->click();
    EXPECT_FALSE(windows.Form3->isVisible());
    form->Image1Click();
    EXPECT_TRUE(windows.Form4->isVisible());
    form->Image2Click();
    EXPECT_TRUE(windows.Form5->isVisible());
    form->LicenceButton->click();
    EXPECT_TRUE(windows.Form6->isVisible());
    windows.Form6->close();
    form->HelpToolButtonClick();
    EXPECT_TRUE(windows.Form7->isVisible());
    windows.Form7->HelpLicenceButton->click(); // the same licence window as the welcome panel's
    EXPECT_TRUE(windows.Form6->isVisible());

    form->AboutProductButton->click();
    form->AboutCompanyButton->click();
    form->CheckUpdatesButton->click();
    windows.Form4->OpenWebPageButton->click();
    windows.Form5->NFCOpenWebPageButton->click();
    windows.Form7->HelpProductButton->click();
    windows.Form7->HelpCompanyButton->click();
    windows.Form7->HelpUpdatesButton->click();
    EXPECT_EQ(opened.pages, (QStringList{ProductWebPage(), CompanyWebPage(), ProductWebPage(), CompanyWebPage(),
                                         ProgrammerManualWebPage(), ProductWebPage(), CompanyWebPage(),
                                         ProductWebPage()}));
    for (QWidget *w : {static_cast<QWidget *>(windows.Form4.get()), static_cast<QWidget *>(windows.Form5.get()), static_cast<QWidget *>(windows.Form6.get()),
                       static_cast<QWidget *>(windows.Form7.get())})
        w->close();
    EXPECT_TRUE(dlg.messages.isEmpty());
}

TEST_F(MainWindowTest, LicenceBoxIsEmptyWithoutTheFileAndShowsItWhenPresent)
{
    {
        InfoWindows windows(Path("nolicence"), form.get());
        EXPECT_TRUE(windows.Form6->LicenceRichEdit->toPlainText().isEmpty());
        EXPECT_TRUE(dlg.messages.isEmpty());
    }
    QFile f(Path("license.rtf"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\b Licence\\b0\\par Use it \\'e0 your will.}");
    f.close();
    InfoWindows windows(tmp.path(), nullptr);
    EXPECT_EQ(windows.Form6->LicenceRichEdit->toPlainText(), QString::fromUtf8("Licence\nUse it \u00e0 your will."));
}

TEST(RtfText, ReadsParagraphsStylesEscapesAndSkipsHeaderGroups)
{
    struct Case {
        const char *rtf;
        const char *plain;
    };
    const Case cases[] = {
        {"{\\rtf1 Hello}", "Hello"},
        {"{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red0\\green0\\blue0;}\\f0 A\\par B}", "A\nB"},
        {"{\\rtf1 a\\tab b}", "a    b"},
        {"{\\rtf1 x\\'fcy}", "x\u00fcy"},
        {"{\\rtf1\\uc1 \\u8364?}", "\u20ac"},
        {"{\\rtf1 \\{braces\\}\\\\}", "{braces}\\"},
        {"{\\rtf1{\\*\\generator Writer;}text\\unknownword9 more}", "textmore"},
        {"{\\rtf1 <b>&amp;}", "<b>&amp;"},
    };
    for (const Case &c : cases) {
        QTextDocument doc;
        doc.setHtml(RtfToHtml(QByteArray(c.rtf)));
        EXPECT_EQ(doc.toPlainText(), QString::fromUtf8(c.plain)) << c.rtf;
    }
    const QString html = RtfToHtml("{\\rtf1 \\b bold\\b0  plain \\i it\\i0}");
    EXPECT_TRUE(html.contains("<b>bold</b>")) << html.toStdString();
    EXPECT_TRUE(html.contains("<i>it</i>")) << html.toStdString();
}

TEST(BundledLicence, IsRichTextWithOurOwnWords)
{
    QFile f(QStringLiteral(TAVEL_SOURCE_DIR "/resources/license.rtf"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray rtf = f.readAll();
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    QTextDocument doc;
    doc.setHtml(RtfToHtml(rtf));
    EXPECT_TRUE(doc.toPlainText().contains("NFC configuration software Tavel"));
}

TEST(Pictures, ToolbarListHasDistinctSlotPictures)
{
    const QList<QPixmap> images = ToolBarImages();
    ASSERT_GE(images.size(), 14);
    for (const QPixmap &p : images)
        EXPECT_FALSE(p.isNull());
    // Plain and selected slot pictures differ, and the three slots differ.
    for (int slot = 0; slot < 3; ++slot)
        EXPECT_NE(images[8 + slot].toImage(), images[11 + slot].toImage()) << slot;
    EXPECT_NE(images[8].toImage(), images[9].toImage());
    EXPECT_EQ(SplashPicture().size(), QSize(1018, 503));
}

TEST(Splash, BorderlessFixedSizeFitsTheScreenAndShowsTheMainWindowAfterItsTimer)
{
    ScriptedDialogs dlg;
    QTemporaryDir tmp;
    WindowTestFolder folder(tmp.path());
    TForm1 main({QStringLiteral("prog")});
    TSplashScreen splash;
    ConnectDesktopWindows({.main = &main, .splash = &splash});
    EXPECT_EQ(splash.size(), QSize(1018, 503));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash.Timer1->interval(), 2000);
    EXPECT_TRUE(splash.Timer1->isSingleShot());
    splash.show();
    EXPECT_TRUE(splash.Timer1->isActive());
    EXPECT_FALSE(main.isVisible());
    // Never past the screen (the test screen is narrower than the picture): the
    // picture shrinks in its own proportions and fills the window.
    const QRect room = splash.screen()->availableGeometry();
    EXPECT_TRUE(room.contains(splash.geometry())) << splash.width() << 'x' << splash.height() << " on "
                                                  << room.width() << 'x' << room.height();
    EXPECT_NEAR(double(splash.width()) / splash.height(), 1018.0 / 503.0, 0.01);
    EXPECT_EQ(splash.Image1->geometry(), splash.rect());
    EXPECT_TRUE(splash.Image1->hasScaledContents() || splash.size() == QSize(1018, 503));
    splash.Timer1Timer();
    EXPECT_FALSE(splash.Timer1->isActive());
    EXPECT_TRUE(main.isVisible());
    EXPECT_FALSE(splash.isVisible());
    main.close();
}
