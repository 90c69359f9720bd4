// Where the secondary windows go: each belongs to the window that opens it (the
// window manager keeps it above that window), opens centred on it, stays inside
// the screen when it grows, and Escape closes it.
#include "desktop/desktop_app.h"
#include "desktop/driver_select_window.h"
#include "desktop/firmware_window.h"
#include "desktop/info_windows.h"
#include "desktop/main_window.h"
#include "desktop/programmed_drivers_window.h"
#include "desktop/radio_link_window.h"
#include "desktop/tag_info_window.h"
#include "desktop/window_owner.h"
#include "print_qt.h"
#include "profile/catalogue.h"
#include "main_window_fixture.h"
#include "scripted_dialogs.h"
#include "serial/port_discovery.h"
#include "window_test_folder.h"

#include <QDir>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

namespace {

QRect area(const QWidget *w) { return w->screen()->availableGeometry(); }

QWindow *transientParentOf(const QWidget *w)
{
    return w->windowHandle() ? w->windowHandle()->transientParent() : nullptr;
}

// Centred on `owner` in the directions in which the window fits the screen.
void expectCentredOn(const QWidget *w, const QWidget *owner)
{
    const QRect frame = w->frameGeometry();
    const QRect ownerFrame = owner->frameGeometry();
    const QRect screen = area(w);
    EXPECT_TRUE(screen.contains(frame) || frame.width() >= screen.width()) << "window " << frame.x() << ','
                                                                             << frame.y();
    if (frame.width() < screen.width()
        && screen.contains(QRect(ownerFrame.center().x() - frame.width() / 2, frame.y(), frame.width(), 1))) {
        EXPECT_LE(std::abs(frame.center().x() - ownerFrame.center().x()), 1);
    }
    if (frame.height() < screen.height()
        && screen.contains(QRect(frame.x(), ownerFrame.center().y() - frame.height() / 2, 1, frame.height()))) {
        EXPECT_LE(std::abs(frame.center().y() - ownerFrame.center().y()), 1);
    }
}

class WindowOwnerTest : public MainWindowTest {
protected:
    ScriptedDialogs &dialogs = dlg;
    std::unique_ptr<TForm1> &main = form;
    std::unique_ptr<TForm9> radio;
    std::unique_ptr<TForm10> select;
    TFormTagInfo *tagInfo = nullptr; // owned by the main window
    TForm2 *firmware = nullptr;      // owned by the main window
    TForm3 *language = nullptr;      // owned by the main window

    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        setSystemSerialPortLister([] { return QList<SystemSerialPort>{}; });
        QDir(tmp.path()).mkdir(QStringLiteral("bin"));
        SetCatalogueProgramDirForTesting(tmp.filePath(QStringLiteral("bin")));
        MainWindowTest::SetUp();
        radio = std::make_unique<TForm9>();
        radio->Link.stopReceiveTick();
        select = std::make_unique<TForm10>();
        tagInfo = new TFormTagInfo(main.get());
        firmware = new TForm2(main.get());
        language = new TForm3(main.get());
        ConnectDesktopWindows({.main = main.get(),
                               .language = language,
                               .radio = radio.get(),
                               .tagInfo = tagInfo,
                               .driverSelect = select.get(),
                               .firmware = firmware});
        // A main window smaller than the screen, away from its centre, so that
        // "centred on the owner" and "centred on the screen" differ.
        main->setMinimumSize(300, 200);
        main->setGeometry(40, 60, 420, 300);
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    }

    void TearDown() override
    {
        select.reset();
        radio.reset();
        MainWindowTest::TearDown();
        SetCatalogueProgramDirForTesting(QString());
        setSystemSerialPortLister({});
    }

    // Runs `check` while the modal window `dialog` is open, then closes it.
    void whileOpen(QDialog *dialog, const std::function<void()> &open, const std::function<void()> &check)
    {
        bool checked = false;
        QTimer::singleShot(0, dialog, [&] {
            checked = true;
            check();
            dialog->reject();
        });
        open();
        EXPECT_TRUE(checked) << "the window did not open";
    }
};

TEST_F(WindowOwnerTest, TheDriverSelectionStaysAboveTheDisabledMainWindowCentredOnIt)
{
    emit main->driverSelectionWanted();
    ASSERT_TRUE(select->isVisible());
    EXPECT_EQ(transientParentOf(select.get()), main->windowHandle());
    EXPECT_FALSE(main->isEnabled());
    EXPECT_TRUE(select->isEnabled()) << "a window owned without being a child stays usable";
    expectCentredOn(select.get(), main.get());

    select->close();
    EXPECT_TRUE(main->isEnabled());
}

TEST_F(WindowOwnerTest, TheRadioLinkWindowOpensCentredOnTheMainWindowAndGrowsInsideTheScreen)
{
    emit main->radioLinkSettingsWanted();
    ASSERT_TRUE(radio->isVisible());
    // Placed on the main window but not kept above it (it would cover the main
    // window's panels the operator works in).
    EXPECT_EQ(transientParentOf(radio.get()), nullptr);
    expectCentredOn(radio.get(), main.get());

    // Moved by the user to the bottom right corner, then the expert layout: the
    // window stays on the screen (smaller than the layout where the screen has
    // less room, scrolling to the rest).
    const QRect screen = area(radio.get());
    radio->move(screen.right() - radio->width(), screen.bottom() - radio->height());
    emit main->expertModeSet(true);
    radio->Develoop_ButtonClick();
    ASSERT_EQ(radio->Content->size(), QSize(TForm9::kExpertWidth, TForm9::kExpertHeight));
    const QRect frame = radio->frameGeometry();
    EXPECT_TRUE(screen.contains(frame)) << frame.x() << ',' << frame.y() << ' ' << frame.width() << 'x'
                                        << frame.height();
    for (QWidget *far : {static_cast<QWidget *>(radio->CleanReceiveButton), static_cast<QWidget *>(radio->StatusPanels[3])}) {
        radio->Scroll->ensureWidgetVisible(far, 0, 0);
        const QRect shown(far->mapToGlobal(QPoint(0, 0)), far->size());
        EXPECT_TRUE(screen.contains(shown)) << far->objectName().toStdString() << " can be brought into view";
    }
    if (screen.width() > TForm9::kExpertWidth + 40 && screen.height() > TForm9::kExpertHeight + 40) {
        EXPECT_EQ(radio->size(), radio->Content->size()) << "where the screen has room the window has the layout's size";
    }

    // Back to the compact layout, which fits where the window is: it stays.
    const QPoint before = radio->pos();
    radio->Develoop_ButtonClick();
    EXPECT_EQ(radio->pos(), before);
}

TEST_F(WindowOwnerTest, TheProgrammedDriversReportOpensOnTheMainWindowNoWiderThanTheScreen)
{
    auto *report = new TProgrammedDrivers(main.get());
    report->ShowReport();
    ASSERT_TRUE(report->isVisible());
    EXPECT_EQ(transientParentOf(report), main->windowHandle());
    EXPECT_TRUE(area(report).contains(report->frameGeometry()));
    expectCentredOn(report, main.get());
    const QRect memo = report->ProgrammedDriversMemo->geometry();
    EXPECT_LE(memo.right(), report->width()) << "the report fits the window and scrolls sideways";
}

TEST_F(WindowOwnerTest, AModalWindowBelongsToTheWindowThatOpenedItWhichStaysVisible)
{
    radio->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(radio.get()));
    const struct {
        const char *what;
        QDialog *dialog;
        std::function<void()> open;
        QWidget *opener;
    } cases[] = {
        {"tag info from the radio link window", tagInfo, [&] { emit radio->tagInfoWanted(); }, radio.get()},
        {"tag info after the main window's read", tagInfo, [&] { emit main->tagReadArrived(); }, main.get()},
        {"firmware updater from the radio link window", firmware, [&] { emit radio->firmwareUpdateWanted(); },
         radio.get()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        whileOpen(c.dialog, c.open, [&] {
            EXPECT_TRUE(c.dialog->isModal());
            EXPECT_EQ(transientParentOf(c.dialog), c.opener->windowHandle());
            expectCentredOn(c.dialog, c.opener);
            EXPECT_TRUE(radio->isVisible());
        });
        EXPECT_TRUE(radio->isVisible()) << "the radio link window is still there after the window closed";
    }
}

TEST_F(WindowOwnerTest, EscapeClosesTheSecondaryWindows)
{
    const struct {
        const char *what;
        QWidget *window;
    } cases[] = {
        {"driver selection", select.get()},
        {"radio link window", radio.get()},
        {"language window", language},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        c.window->show();
        QWidget *focus = c.window->focusWidget() ? c.window->focusWidget() : c.window;
        QTest::keyClick(focus, Qt::Key_Escape);
        EXPECT_FALSE(c.window->isVisible());
    }

    whileOpen(tagInfo, [&] { EXPECT_EQ(ExecOver(tagInfo, main.get()), QDialog::Rejected); }, [&] {
        QTest::keyClick(tagInfo, Qt::Key_Escape);
        EXPECT_FALSE(tagInfo->isVisible());
    });
}

} // namespace
