#pragma once
// Tags of the paired driver (default_profiles.h) as a read leaves them in the tag
// buffers, for the windows and checks that work on a tag read back.

#include "profile/profile_record.h"
#include "programming/programming_data.h"
#include "radio/tag_buffers.h"
#include "radio/tag_image.h"

#include <QByteArray>
#include <algorithm>

// The paired driver's tag, serial 12345, read-write area from 256: current 350,
// lifetime byte 100, levels 200/199/180/160/100, DC byte 255 (off).
inline TagImage PairedDriverTag()
{
    TagImage t;
    t.gtin = QByteArray::fromHex("001122334455");
    t.fw = QByteArray::fromHex("0102");
    t.serial = QByteArray::fromHex("0000000000003039");
    t.hw = QByteArray::fromHex("0A0B");
    t.rwStart = 256;
    t.rwData = QByteArray::fromHex("00000000") + QByteArray::fromHex("5E0164C8C7B4A064FF");
    return t;
}

// The paired driver's tag after a transfer of `slot`: a read-write area from
// `rwStart` of `rwSize` bytes holding the slot's programming data items at their
// addresses (items outside the area are not on the tag), zeros elsewhere.
inline TagImage PairedDriverTagProgrammedWith(const STRUCT_XML_FILE_VARIABLES &slot, int rwStart = 256,
                                              int rwSize = 30)
{
    QStringList items;
    GenerateProgrammingData(slot, DcLevelActiveForSlot(slot), items);
    TagImage t = PairedDriverTag();
    t.rwStart = uint16_t(rwStart);
    t.rwData = QByteArray(rwSize, '\0');
    for (const QString &item : items) {
        // Items carry the tag address 32 lower; area byte 0 follows the two checksum bytes.
        const int j = item.left(4).toInt(nullptr, 16) + 32 - rwStart - 2;
        if (j >= 0 && j < rwSize)
            t.rwData[j] = char(item.mid(4, 2).toInt(nullptr, 16));
    }
    return t;
}

// Puts `t` into the tag buffers as a complete read leaves it (identity with its
// checksum, the read-write area with its checksum); everything else zero.
inline void LoadTagIntoBuffers(const TagImage &t, TagBuffers &buffers = tagBuffers)
{
    buffers = TagBuffers();
    const QByteArray ident = TagIdentBytes(t);
    std::copy(ident.begin(), ident.begin() + std::min<qsizetype>(ident.size(), kTagIdentSize), buffers.ident.begin());
    const QByteArray rw = TagAreaBytes(t.rwData);
    std::copy(rw.begin(), rw.begin() + std::min<qsizetype>(rw.size(), kTagAreaBufferSize), buffers.rw.begin());
}
