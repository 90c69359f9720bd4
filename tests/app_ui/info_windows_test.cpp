// The information windows, the licence text reader, the splash and the pictures.
#include "main_window_fixture.h"

#include "app/rtf_text.h"
#include "desktop/info_windows.h"
#include "desktop/pictures.h"
#include "desktop/splash_screen.h"
#include "app/web_addresses.h"

#include <QFile>
#include <QTest>
#include <QTextDocument>

namespace {

struct InfoWindows {
    explicit InfoWindows(const QString &licenceFolder)
    {
        Form3 = new TForm3;
        Form4 = new TForm4;
        Form5 = new TForm5;
        Form6 = new TForm6(licenceFolder);
        Form7 = new TForm7;
    }
    ~InfoWindows()
    {
        delete Form3;
        delete Form4;
        delete Form5;
        delete Form6;
        delete Form7;
        Form3 = nullptr;
        Form4 = nullptr;
        Form5 = nullptr;
        Form6 = nullptr;
        Form7 = nullptr;
    }
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
    InfoWindows windows(Path("nolicence"));
    struct Case {
        TInfoForm *window;
        const char *caption;
        QSize size;
    };
    const Case cases[] = {
        {Form3, "  Language", {329, 369}}, {Form4, "  Tavel", {369, 178}},   {Form5, "   NFC system", {331, 194}},
        {Form6, " License", {464, 500}},   {Form7, "  Help", {335, 246}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.window->windowTitle(), QString::fromLatin1(c.caption));
        EXPECT_EQ(c.window->size(), c.size) << c.caption;
        EXPECT_FALSE(c.window->isModal());
        EXPECT_FALSE(c.window->isVisible());
    }
    EXPECT_EQ(Form3->LanguageOkButton->text(), "OK");
    EXPECT_EQ(Form3->LanguageCancelButton->text(), "Cancel");
    EXPECT_EQ(Form3->ListBox1->count(), 0);
    EXPECT_EQ(Form4->OpenWebPageButton->text(), "open web page");
    EXPECT_EQ(Form5->NFCOpenWebPageButton->text(), "Open web page");
    EXPECT_EQ(Form6->LicenceRichEdit->size(), QSize(440, 477));
    EXPECT_TRUE(Form6->LicenceRichEdit->isReadOnly());
    EXPECT_EQ(Form7->HelpProductButton->text(), "about product");
    EXPECT_EQ(Form7->HelpCompanyButton->text(), "about company");
    EXPECT_EQ(Form7->HelpLicenceButton->text(), "license");
    EXPECT_EQ(Form7->HelpUpdatesButton->text(), "check updates");
}

TEST_F(MainWindowTest, ButtonsOpenTheRightWindowsAndPages)
{
    InfoWindows windows(Path("nolicence"));
    OpenedPages opened;

    form->LanguageToolButton->click();
    EXPECT_TRUE(Form3->isVisible());
    Form3->LanguageCancelButton->click();
    EXPECT_FALSE(Form3->isVisible());
    form->Image1Click();
    EXPECT_TRUE(Form4->isVisible());
    form->Image2Click();
    EXPECT_TRUE(Form5->isVisible());
    form->LicenceButton->click();
    EXPECT_TRUE(Form6->isVisible());
    Form6->close();
    form->HelpToolButtonClick();
    EXPECT_TRUE(Form7->isVisible());
    Form7->HelpLicenceButton->click(); // the same licence window as the welcome panel's
    EXPECT_TRUE(Form6->isVisible());

    form->AboutProductButton->click();
    form->AboutCompanyButton->click();
    form->CheckUpdatesButton->click();
    Form4->OpenWebPageButton->click();
    Form5->NFCOpenWebPageButton->click();
    Form7->HelpProductButton->click();
    Form7->HelpCompanyButton->click();
    Form7->HelpUpdatesButton->click();
    EXPECT_EQ(opened.pages, (QStringList{kProductWebPage, kCompanyWebPage, kProductWebPage, kCompanyWebPage,
                                         kProgrammerManualWebPage, kProductWebPage, kCompanyWebPage,
                                         kProductWebPage}));
    for (QWidget *w : {static_cast<QWidget *>(Form4), static_cast<QWidget *>(Form5), static_cast<QWidget *>(Form6),
                       static_cast<QWidget *>(Form7)})
        w->close();
    EXPECT_TRUE(dlg.messages.isEmpty());
}

TEST_F(MainWindowTest, LicenceBoxIsEmptyWithoutTheFileAndShowsItWhenPresent)
{
    {
        InfoWindows windows(Path("nolicence"));
        EXPECT_TRUE(Form6->LicenceRichEdit->toPlainText().isEmpty());
        EXPECT_TRUE(dlg.messages.isEmpty());
    }
    QFile f(Path("license.rtf"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\b Licence\\b0\\par Use it \\'e0 your will.}");
    f.close();
    InfoWindows windows(tmp.path());
    EXPECT_EQ(Form6->LicenceRichEdit->toPlainText(), QString::fromUtf8("Licence\nUse it \u00e0 your will."));
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

TEST(Splash, BorderlessFixedSizeAndShowsTheMainWindowAfterItsTimer)
{
    ScriptedDialogs dlg;
    QTemporaryDir tmp;
    WindowTestFolder folder(tmp.path());
    TForm1 main({QStringLiteral("prog")});
    Form1 = &main;
    TSplashScreen splash;
    EXPECT_EQ(splash.size(), QSize(1018, 503));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash.Timer1->interval(), 2000);
    EXPECT_TRUE(splash.Timer1->isSingleShot());
    splash.show();
    EXPECT_TRUE(splash.Timer1->isActive());
    EXPECT_FALSE(main.isVisible());
    splash.Timer1Timer();
    EXPECT_FALSE(splash.Timer1->isActive());
    EXPECT_TRUE(main.isVisible());
    EXPECT_FALSE(splash.isVisible());
    main.close();
    Form1 = nullptr;
}
