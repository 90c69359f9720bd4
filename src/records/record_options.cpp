#include "records/record_options.h"

#include "profile/profile_record.h"
#include "records/records_outbox.h"

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
                           const RecordOptions &options)
{
    int written = 0;
    int place = 0; // the records of this report are one driver, not repeats of one another
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (!options.slotFilter[slot])
            continue;
        const STRUCT_XML_FILE_VARIABLES &profile = settingsVariablesField[slot];
        if (profile.enOcean_HandHeldID != programmerId)
            continue;
        if (QueueDriverRecord(profile.programmer_Nfc_FW, ownId, programmerId, serial, place++) != RecordFate::Lost)
            ++written;
    }
    return written;
}

bool RecordConfirmedTransfer(const RecordOptions &options)
{
    if (!options.writeSettings)
        return false;
    return QueueSettingsRecord(activeProfile()) != RecordFate::Lost;
}
