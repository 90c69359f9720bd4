// Pictures of the main window in its main states, written as PNG files into
// build/screenshots (or the folder in TAVEL_SCREENSHOT_DIR) so that anyone can look
// at what a user sees: the welcome panel, slot 1 shown, expert mode with the summary
// view, the splash, and the Help and License windows.
#include "main_window_fixture.h"

#include "app/ui/info_forms.h"
#include "app/ui/splash_screen.h"

#include <QDir>
#include <QImage>

namespace {

QString screenshotFolder()
{
    const QString env = qEnvironmentVariable("TAVEL_SCREENSHOT_DIR");
    const QString folder = env.isEmpty() ? QStringLiteral(TAVEL_BIN_DIR "/../screenshots") : env;
    QDir().mkpath(folder);
    return QDir(folder).absolutePath();
}

// Saves the window's picture and checks it is a real picture of the right size.
void save(QWidget &w, const QString &name)
{
    QApplication::processEvents();
    const QImage image = w.grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), w.size());
    const QString path = screenshotFolder() + QLatin1Char('/') + name;
    EXPECT_TRUE(image.save(path)) << path.toStdString();
}

} // namespace

TEST_F(MainWindowTest, ScreenshotsOfTheMainStates)
{
    form->show();
    save(*form, QStringLiteral("main-window-welcome.png"));

    // "load settings from file", dialog cancelled: the toolbar and slot 1.
    form->LoadFileButtonClick();
    save(*form, QStringLiteral("main-window-slot1.png"));

    form->CLOEditEnter();
    save(*form, QStringLiteral("main-window-slot1-clo.png"));
    form->DClevelEditEnter();
    save(*form, QStringLiteral("main-window-slot1-dc.png"));
    form->close();

    Create({QStringLiteral("prog"), QStringLiteral("qavrelo")});
    form->show();
    form->LoadFileButtonClick();
    form->CloseInterfaceButtonClick(); // the summary view with the programming data beside it
    save(*form, QStringLiteral("main-window-expert-summary.png"));
    form->close();

    TForm7 help;
    help.show();
    save(help, QStringLiteral("help-window.png"));
    help.close();
    TForm6 licence(QStringLiteral(TAVEL_SOURCE_DIR "/resources"));
    licence.show();
    save(licence, QStringLiteral("license-window.png"));
    licence.close();

    TSplashScreen splash;
    splash.show();
    splash.Timer1->stop();
    save(splash, QStringLiteral("splash.png"));
    splash.close();
}
