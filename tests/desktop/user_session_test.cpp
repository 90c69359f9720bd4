// A whole session as a user goes through it: a settings file written by the
// command-line companion is loaded, slots are switched, a value is confirmed, the
// file is saved and saved under another name, the summary is printed, and the file
// is reopened from the recently-used list.
#include "main_window_fixture.h"

#include "profile/settings_file.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

TEST_F(MainWindowTest, LoadSwitchSaveSaveAsPrintAndReopenFromRecentlyUsed)
{
    const QString companion = QStringLiteral(TAVEL_BIN_DIR "/tavel-nfc");
    if (!QFileInfo::exists(companion))
        GTEST_SKIP() << "tavel-nfc is not built";
    const QString path = Path("defaults.set");
    ASSERT_EQ(QProcess::execute(companion, {QStringLiteral("defaults"), QStringLiteral("-o"), path}), 0);

    // "load settings from file".
    dlg.filePaths << path;
    form->LoadFileButton->click();
    ASSERT_EQ(form->SettingsFileOpen, 1);
    EXPECT_TRUE(dlg.messages.isEmpty()) << dlg.texts().join(" | ").toStdString();
    EXPECT_EQ(form->Label4->text(), "config.1");

    // Switch to slot 2 and confirm a new nominal current.
    form->Setting2ToolButton->click();
    EXPECT_EQ(form->Label4->text(), "config.2");
    form->NomCurrentEdit->setText("500");
    EXPECT_EQ(form->CompareInterfaceDataWithSettingsData(), 1);
    form->LoadSettingsDataFromInterface(activeSlot() - 1);
    EXPECT_EQ(form->CompareInterfaceDataWithSettingsData(), 0);

    // Save into the open file.
    form->SaveToolButton->click();
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages.last().text, "Recent values saved to actual opened ini file");
    EXPECT_EQ(SettingsIniFile(path).ReadString("settings2_variables", "current.defaultValue", "?"), "500");

    // Save as another file, which becomes the open file.
    const QString copy = Path("copy.set");
    dlg.filePaths << copy;
    form->SaveAsToolButton->click();
    EXPECT_EQ(form->SettingsFile->FileName(), copy);
    EXPECT_EQ(SettingsIniFile(copy).ReadString("settings2_variables", "current.defaultValue", "?"), "500");

    // The summary of slot 2 shows the confirmed value and is printed.
    form->CloseInterfaceButton->click();
    EXPECT_TRUE(form->SummaryMemo->toPlainText().contains("Nominal_current 500"));
    const QString printed = Path("summary.txt");
    dlg.filePaths << printed;
    form->PrintToolButton->click();
    QFile summary(printed);
    ASSERT_TRUE(summary.open(QIODevice::ReadOnly));
    const QByteArray text = summary.readAll();
    EXPECT_TRUE(text.contains("Config no 2\r\n"));
    EXPECT_TRUE(text.contains("Nominal_current 500\r\n"));

    // A new start of the window; "recently used" reopens the first file.
    Create({QStringLiteral("tavel-nfc-config")});
    dlg.clear();
    form->RecentlyUsedButton->click();
    EXPECT_EQ(form->File2->text(), path);
    form->PopupMenu1->close();
    form->File2->trigger();
    EXPECT_EQ(form->SettingsFileOpen, 1);
    EXPECT_EQ(settingsVariablesField[1].current.defaultValue, "500");
    EXPECT_EQ(form->Label4->text(), "config.1");
    EXPECT_TRUE(dlg.messages.isEmpty()) << dlg.texts().join(" | ").toStdString();
}
