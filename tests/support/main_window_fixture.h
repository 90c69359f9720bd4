#pragma once
// A main window created as at program start, with the dialogs scripted and the
// application-data folder and the recently-used list kept in a temporary folder.
// Every window test that needs the main window starts from this one (fixtures that
// add other windows derive from it and create them after it).

#include "desktop/main_window.h"
#include "scripted_dialogs.h"
#include "window_test_folder.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class MainWindowTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    WindowTestFolder folder{tmp.path()};
    ScriptedDialogs dlg;
    std::unique_ptr<TForm1> form;

    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        Create({QStringLiteral("tavel-nfc-config")});
    }

    void TearDown() override
    {
        Destroy();
        DevelopModeFlag = 0;
    }

    void Create(const QStringList &arguments)
    {
        Destroy();
        form = std::make_unique<TForm1>(arguments);
    }

    void Destroy()
    {
        form.reset();
    }

    QString Path(const QString &name) const { return tmp.filePath(name); }
};
