// The main window's settings files and recently-used list: new, open, save, save
// as, and the five newest files in the menu and on the welcome panel.

#include "desktop/main_window.h"

#include "app/recent_files.h"
#include "common/app_data.h"
#include "common/convert.h"
#include "common/dialogs.h"
#include "profile/profile_record.h"
#include "profile/settings_file.h"

#include <QFileInfo>

// ---- Recently-used list ------------------------------------------------------------------------

void TForm1::RegisterCreateWriteFunction(const QString &path) { PushRecentFile(path); }

void TForm1::RegisterCreateReadFunction()
{
    bool ok = false;
    const QStringList entries = ReadRecentFiles(&ok);
    while (RecentlyUsedFiles.size() < kRecentFilesCount)
        RecentlyUsedFiles << QString();
    for (int i = 0; i < entries.size() && i < kRecentFilesCount; ++i)
        RecentlyUsedFiles[i] = entries.at(i);
}

void TForm1::RecentlyUsedButtonClick()
{
    RegisterCreateReadFunction();
    File1->setText(QString());
    File1->setVisible(true);
    QAction *items[] = {File2, File3, File4, File5, File6};
    for (int i = 0; i < 5; ++i) {
        const QString entry = RecentlyUsedFiles.value(i);
        items[i]->setText(QString(entry).replace(QLatin1Char('&'), QLatin1String("&&")));
        items[i]->setVisible(!entry.isEmpty());
    }
    const QPoint at = RecentlyUsedButton->mapToGlobal(
        QPoint(RecentlyUsedButton->width() + 10, RecentlyUsedButton->height() + 8));
    PopupMenu1->popup(at);
}

bool TForm1::OpenRecentlyUsedEntry(int entry)
{
    const QString path = RecentlyUsedFiles.value(entry - 1);
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot >= 0 ? path.mid(dot) : QString();
    const bool catalogue = extension == QLatin1String(".xml");
    const bool settings = extension == QLatin1String(".set");
    if ((catalogue || settings) && !AskToSaveChanges())
        return false;
    if (catalogue) {
        emit recentCatalogueChosen(path);
    } else if (settings) {
        LoadModelDataFromSetRecentUsedFile(path);
    }
    ToolBar3->show();
    Panel5->hide();
    return true;
}

void TForm1::File1Click() { OpenRecentlyUsedEntry(1); }
void TForm1::File2Click() { OpenRecentlyUsedEntry(1); }
void TForm1::File3Click()
{
    if (OpenRecentlyUsedEntry(2))
        emit driverSelectionWanted();
}
void TForm1::File4Click() { OpenRecentlyUsedEntry(3); }
void TForm1::File5Click() { OpenRecentlyUsedEntry(4); }
void TForm1::File6Click() { OpenRecentlyUsedEntry(5); }

// ---- Settings files ----------------------------------------------------------------------------

namespace {
FileDialogRequest settingsDialog(const QString &title)
{
    FileDialogRequest request;
    request.title = title;
    request.filter = QStringLiteral("setting files (*.set)");
    request.defaultSuffix = QStringLiteral("set");
    request.initialDir = Create_dir_in_Appdata(kAppDataFolderName, QStringLiteral("settings"));
    return request;
}
} // namespace

void TForm1::DropSettingsFile()
{
    SettingsFile.reset();
    SettingsFileOpen = 0;
}

bool TForm1::ReadSettingsFile()
{
    SettingsLoadOptions options;
    options.dcLevelAdjust = [this](int slotIndex) { DC_LevelAdjust(slotIndex); };
    const auto slotsBefore = settingsVariablesField;
    const int activeBefore = activeSlot();
    const SettingsLoadResult result = UploadSettingsFromIniFile(*SettingsFile, options);
    if (result == SettingsLoadResult::OldVersion || result == SettingsLoadResult::Unreadable)
        return false;
    try {
        Setting1ToolButtonClick();
        // What the slots hold now is what a save of the open file would write
        // (after a format error, what was read or the defaults it was reported with).
        KeepSlotsAsSaved();
        return result == SettingsLoadResult::Loaded;
    } catch (const std::exception &e) {
        // A slot that cannot be shown would leave the window half updated: the slots
        // shown before come back, and no file stays open to save them into.
        settingsVariablesField = slotsBefore;
        setActiveSlot(activeBefore);
        DropSettingsFile();
        ReloadSettings();
        ShowGeneralError(e);
        return false;
    }
}

void TForm1::LoadFileToolButtonClick()
{
    if (!AskToSaveChanges())
        return;
    LoadSettingsFileWithDialog();
}

void TForm1::LoadSettingsFileWithDialog()
{
    ToolBar3->show();
    const FileDialogRequest request = settingsDialog(QStringLiteral("Open settings file"));
    DropSettingsFile();
    const QString path = dialogs().openFile(request);
    OpenDialog1Close();
    if (path.isEmpty())
        return;
    SettingsFile = std::make_unique<SettingsIniFile>(path);
    SettingsFileOpen = 1;
    // Only a file that loaded goes on the recently-used list.
    if (ReadSettingsFile())
        RegisterCreateWriteFunction(path);
}

void TForm1::LoadModelDataFromSetRecentUsedFile(const QString &path)
{
    ToolBar3->show();
    DropSettingsFile();
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return;
    SettingsFile = std::make_unique<SettingsIniFile>(path);
    SettingsFileOpen = 1;
    // The file goes to the top of the list: the list is ordered by the newest use.
    if (ReadSettingsFile())
        RegisterCreateWriteFunction(path);
}

void TForm1::SaveToolButtonClick()
{
    if (SettingsFileOpen == 0 || !SettingsFile) {
        SaveAsToolButtonClick();
        return;
    }
    if (CompareInterfaceDataWithSettingsData() == 1) {
        dialogs().message(QStringLiteral("Info"), QStringLiteral("Data were modified. Save them before Save"));
        return;
    }
    // A failed write has been reported already; it is not confirmed as saved.
    if (DownloadSettingsToIniFile(*SettingsFile)) {
        KeepSlotsAsSaved();
        dialogs().message(QStringLiteral("Info"), QStringLiteral("Recent values saved to actual opened ini file"),
                          MsgButtons::OK, MsgIcon::Information);
    }
    ReloadSettings();
}

void TForm1::SaveAsToolButtonClick()
{
    if (CompareInterfaceDataWithSettingsData() == 1) {
        dialogs().message(QStringLiteral("Info"),
                          QStringLiteral("Data were modified. Save the value in the field before you can save it to the file"));
        return;
    }
    ToolBar3->show();
    const QString path = dialogs().saveFile(QString(), settingsDialog(QString()));
    SaveDialog1Close();
    if (path.isEmpty())
        return;
    SettingsFile = std::make_unique<SettingsIniFile>(path);
    SettingsFileOpen = 1;
    if (DownloadSettingsToIniFile(*SettingsFile))
        KeepSlotsAsSaved();
}

void TForm1::OpenDialog1Close() { ReloadSettings(); }
void TForm1::OpenDialog2Close() { ReloadSettings(); }
void TForm1::SaveDialog1Close() { ReloadSettings(); }
