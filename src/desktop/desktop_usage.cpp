#include "desktop/desktop_usage.h"

#include "common/app_data.h"
#include "common/user_manual.h"
#include "desktop/main_window.h"
#include "records/records_store.h"
#include "records/records_store_registry.h"

#include <cstring>

bool DesktopHelpWanted(int argc, const char *const *argv)
{
    return argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0);
}

QString DesktopUsageText()
{
    const QString folder = kAppDataFolderName;
    return QStringLiteral(
               "Usage: tavel-nfc-config [%1] [--port PATH]... [--firmware-port PATH]\n"
               "  or:  tavel-nfc-config --help | --version\n"
               "\n"
               "The desktop program of the NFC configuration software Tavel: builds an LED\n"
               "driver profile (nominal current, constant-light-output curve, DC emergency\n"
               "level, NTC derating) and sends it by an EnOcean USB300 stick to the handheld\n"
               "NFC programmer, which writes it into the tag of every driver it is held against.\n"
               "It needs a display (set QT_QPA_PLATFORM=offscreen to run it without one).\n"
               "\n"
               "User manual: %4\n"
               "\n"
               "Options:\n"
               "  %1               as the first argument: expert mode (\"Develop menu\"): the\n"
               "                        raw programming data, the raw tag areas and the radio\n"
               "                        link window's expert layout with the radio log\n"
               "  --port PATH           adds PATH to the radio link window's list of ports as if\n"
               "                        it had been found (the device simulator, an adapter the\n"
               "                        search does not recognise); may be given more than once\n"
               "  --firmware-port PATH  adds PATH to the firmware updater's list of ports\n"
               "  -h, --help            prints this help and ends\n"
               "  --version             prints the release and the git revision of the build\n"
               "                        and ends\n"
               "\n"
               "Files:\n"
               "  ~/.local/share/%2/settings, print, database\n"
               "                        settings files (.set), summaries and the record\n"
               "                        databases (below $XDG_DATA_HOME when that is set)\n"
               "  ~/.config/%2/\n"
               "                        the recently-used list and the records location\n"
               "  nfc_model.xml, license.rtf, tavel-nfc.conf\n"
               "                        the driver catalogue, the licence text and the maker's\n"
               "                        configuration: beside the program, else in\n"
               "                        /usr/share/tavel-nfc/ (the configuration in\n"
               "                        /etc/tavel-nfc/)\n"
               "\n"
               "Environment:\n"
               "  %3     the records store (%5)\n"
               "                        when none is chosen in the record options\n"
               "  PGPASSWORD            the PostgreSQL server's password, unless ~/.pgpass holds\n"
               "                        it (a password in the address is refused)\n"
               "  QT_QPA_PLATFORM       the window system (offscreen: no display)\n"
)
        .arg(kExpertModeKeyword, folder, QString::fromLatin1(kRecordsUrlVariable), UserManualPlace(),
             AllRecordsLocationForms());
}
