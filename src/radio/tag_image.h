#pragma once
// A driver's tag as the handheld programmer sends it when it reads one: the
// identity, the read-write and read-only areas, each with its checksum, cut into
// the frames 0x16 (five identity blocks), 0x17, 0x18 and 0x19. The simulator and
// the tests build tags with it.

#include <QByteArray>
#include <QList>
#include <cstdint>

struct TagImage {
    QByteArray gtin = QByteArray(6, '\0');   // 6 bytes
    QByteArray fw = QByteArray(2, '\0');     // 2 bytes
    QByteArray serial = QByteArray(8, '\0'); // 8 bytes, big-endian
    QByteArray hw = QByteArray(2, '\0');     // 2 bytes
    uint16_t rwStart = 256;
    QByteArray rwData; // the RW area's data, without its checksum
    uint16_t rStart = 0;
    QByteArray rData;
    // Sizes announced in the identity; negative: the data's size.
    int rwSizeAnnounced = -1;
    int rSizeAnnounced = -1;
};

// The 35 identity bytes, the checksum of bytes 2-31 in bytes 0-1.
QByteArray TagIdentBytes(const TagImage &tag);
// An area as stored: the checksum (most significant byte first), then the data.
QByteArray TagAreaBytes(const QByteArray &data);
// One frame per block: 0x16 blocks 0-4, `frameId` blocks 0 ... size / 6 + 1 of
// an area (padded with zeros).
QList<QByteArray> TagIdentFrames(const QByteArray &identBytes);
QList<QByteArray> TagAreaFrames(uint8_t frameId, const QByteArray &areaBytes, int announcedSize);
// Everything a read sends, in order, ending with the end tag frame 0x19 0xE0.
QList<QByteArray> TagReadFrames(const TagImage &tag);
