#include "records/record_options.h"

#include "profile/profile_record.h"
#include "records/records_database.h"

void RecordOptions::setWriteDrivers(bool on)
{
    writeDrivers = on;
    slotFilter = {on, on, on};
}

RecordOptions &recordOptions()
{
    static RecordOptions options;
    return options;
}

int RecordProgrammedDriver(const QString &ownId, const QString &programmerId, const QString &serial,
                           const RecordOptions &options, bool *repeat)
{
    int written = 0;
    int place = 0; // the records of this report are one driver, not repeats of one another
    if (repeat)
        *repeat = false;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (!options.slotFilter[slot])
            continue;
        const STRUCT_XML_FILE_VARIABLES &profile = settingsVariablesField[slot];
        if (profile.enOcean_HandHeldID != programmerId)
            continue;
        bool marked = false;
        if (WriteDriversToDatabaseInAppdataWithSettings(profile.programmer_Nfc_FW, ownId, programmerId, serial,
                                                        &marked, place++)
            != RecordFate::Lost)
            ++written;
        if (repeat && marked)
            *repeat = true;
    }
    return written;
}

bool RecordConfirmedTransfer(const RecordOptions &options)
{
    if (!options.writeSettings)
        return false;
    return WriteSettingsToDatabaseInAppdata() != RecordFate::Lost;
}
