// The records' column lists name the columns of the tables already stored in
// the SQLite files and on the server, in the order their values are bound: a
// column renamed, dropped or moved would write values under the wrong names.

#include "records/record_columns.h"

#include <QString>
#include <gtest/gtest.h>

namespace {

QStringList split(const char *names) { return QString::fromLatin1(names).split(QLatin1Char(',')); }

TEST(RecordColumns, MatchTheStoredTablesInBindingOrder)
{
    const char *const parameters = "nomCurrent,lifeTime,CLO_L1,CLO_L2,CLO_L3,CLO_L4,CLO_L5,DC_level,extNTC_Temp1,"
                                   "extNTC_Level1,extNTC_Temp2,extNTC_Level2,extNTC_CutOffTemp";
    const struct {
        const char *caption;
        const QStringList &columns;
        QStringList stored;
    } cases[] = {
        {"settings", SettingsRecordColumns(),
         split("datetime,enOcean_HandHeldID,programmer_NFC_FW,familyName,type,ref_number,editGTIN,editFW,editHW,"
               "editSerial")
             + split(parameters)},
        {"drivers", DriverRecordColumns(),
         split("datetime,enOcean_HandHeldID,programmer_NFC_FW,programmerID,serialNumber") + split(parameters)},
        {"verifications", VerificationRecordColumns(),
         split("datetime,serialNumber,programmerID,slot,result,differences")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(c.columns, c.stored);
    }
}

} // namespace
