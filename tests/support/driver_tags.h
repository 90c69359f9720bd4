#pragma once
// Tags of the paired driver (default_profiles.h) as a read leaves them in the tag
// buffers, for the windows and checks that work on a tag read back.

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
