#pragma once
// The fuzz targets: each takes arbitrary bytes and must neither crash nor trip a
// sanitizer, whatever the bytes are. Every target lives in its own file
// (fuzz/<name>.cpp); libfuzzer_main.cpp turns one into a libFuzzer program and
// replay.cpp runs the saved corpora through all of them.

#include <cstddef>
#include <cstdint>

// Bytes as a settings file: read all three slots, make the programming data of each
// slot that was read, and check that every value read is written back and read
// again unchanged.
int FuzzSettingsReader(const uint8_t *data, size_t size);

// Bytes as a driver catalogue: load it, list its models, copy each model into a
// profile slot and make that slot's programming data.
int FuzzCatalogueLoader(const uint8_t *data, size_t size);

// Bytes as the record files: the first byte chooses which of the drivers database,
// the settings database and the pending-records journal the rest becomes; every
// reading operation of the records then runs on them.
int FuzzRecordsReader(const uint8_t *data, size_t size);

// Bytes from the stick's port: through the receive ring and the parse loop of the
// radio link into the frame decoder and the tag buffers.
int FuzzEsp3Receiver(const uint8_t *data, size_t size);

// Bytes as the bootloader's answers (their count first) and a firmware script: the
// script player plays it to a fake bootloader that answers those bytes.
int FuzzFirmwarePlayer(const uint8_t *data, size_t size);

struct FuzzTarget {
    const char *name; // also the folder of its corpus: fuzz/corpus/<name>/
    int (*run)(const uint8_t *data, size_t size);
};

inline constexpr FuzzTarget kFuzzTargets[] = {
    {"settings_reader", &FuzzSettingsReader},
    {"catalogue_loader", &FuzzCatalogueLoader},
    {"records_reader", &FuzzRecordsReader},
    {"esp3_receiver", &FuzzEsp3Receiver},
    {"firmware_player", &FuzzFirmwarePlayer},
};
