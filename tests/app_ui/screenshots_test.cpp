// Pictures of the main window in its main states, written as PNG files into
// build/screenshots (or the folder in TAVEL_SCREENSHOT_DIR) so that anyone can look
// at what a user sees: the welcome panel, slot 1 shown, expert mode with the summary
// view, the splash, and the Help and License windows.
#include "main_window_fixture.h"
#include "screenshots.h"

#include "desktop/info_windows.h"
#include "desktop/splash_screen.h"

TEST_F(MainWindowTest, ScreenshotsOfTheMainStates)
{
    form->show();
    SaveScreenshot(*form, QStringLiteral("main-window-welcome.png"));

    // "load settings from file", dialog cancelled: the toolbar and slot 1.
    form->LoadFileButtonClick();
    SaveScreenshot(*form, QStringLiteral("main-window-slot1.png"));

    form->CLOEditEnter();
    SaveScreenshot(*form, QStringLiteral("main-window-slot1-clo.png"));
    form->DClevelEditEnter();
    SaveScreenshot(*form, QStringLiteral("main-window-slot1-dc.png"));
    form->close();

    Create({QStringLiteral("prog"), QStringLiteral("qavrelo")});
    form->show();
    form->LoadFileButtonClick();
    form->CloseInterfaceButtonClick(); // the summary view with the programming data beside it
    SaveScreenshot(*form, QStringLiteral("main-window-expert-summary.png"));
    form->close();

    TForm7 help;
    help.show();
    SaveScreenshot(help, QStringLiteral("help-window.png"));
    help.close();
    TForm6 licence(QStringLiteral(TAVEL_SOURCE_DIR "/resources"));
    licence.show();
    SaveScreenshot(licence, QStringLiteral("license-window.png"));
    licence.close();

    TSplashScreen splash;
    splash.show();
    splash.Timer1->stop();
    SaveScreenshot(splash, QStringLiteral("splash.png"));
    splash.close();
}
