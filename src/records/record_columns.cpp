#include "records/record_columns.h"

#include "profile/parameter_table.h"

const QStringList &SettingsProductColumns()
{
    static const QStringList columns{QStringLiteral("familyName"), QStringLiteral("type"),
                                     QStringLiteral("ref_number"), QStringLiteral("editGTIN"),
                                     QStringLiteral("editFW"),     QStringLiteral("editHW"),
                                     QStringLiteral("editSerial")};
    return columns;
}

const QStringList &SettingsRecordColumns()
{
    // The transfer's identity and the programmed product, then the parameters.
    static const QStringList columns =
        QStringList{QStringLiteral("datetime"), QStringLiteral("enOcean_HandHeldID"),
                    QStringLiteral("programmer_NFC_FW")}
        + SettingsProductColumns() + RecordParameterColumns();
    return columns;
}

const QStringList &DriverRecordColumns()
{
    static const QStringList columns =
        QStringList{QStringLiteral("datetime"), QStringLiteral("enOcean_HandHeldID"),
                    QStringLiteral("programmer_NFC_FW"), QStringLiteral("programmerID"),
                    QStringLiteral("serialNumber")}
        + RecordParameterColumns();
    return columns;
}

const QStringList &VerificationRecordColumns()
{
    static const QStringList columns{QStringLiteral("datetime"), QStringLiteral("serialNumber"),
                                     QStringLiteral("programmerID"), QStringLiteral("slot"),
                                     QStringLiteral("result"), QStringLiteral("differences")};
    return columns;
}

const QStringList &SettingTextColumns()
{
    static const QStringList columns = RecordParameterColumns();
    return columns;
}

int SettingTextCount() { return int(SettingTextColumns().size()); }
