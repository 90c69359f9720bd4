#include "radio/tag_image.h"

#include "radio/crc16.h"
#include "radio/tag_buffers.h"

namespace {
void putWord(QByteArray &b, int offset, int value)
{
    b[offset] = char(value & 0xFF);
    b[offset + 1] = char((value >> 8) & 0xFF);
}
void put(QByteArray &b, int offset, const QByteArray &bytes, int count)
{
    for (int i = 0; i < count; ++i)
        b[offset + i] = i < bytes.size() ? bytes[i] : '\0';
}
uint16_t crcOf(const QByteArray &bytes, int from, int count)
{
    return TagCRC16(reinterpret_cast<const uint8_t *>(bytes.constData()) + from, uint16_t(count), 0xFFFF);
}
} // namespace

QByteArray TagIdentBytes(const TagImage &tag)
{
    QByteArray b(kTagIdentSize, '\0');
    putWord(b, 2, tag.rwStart);
    putWord(b, 4, tag.rwSizeAnnounced >= 0 ? tag.rwSizeAnnounced : int(tag.rwData.size()));
    putWord(b, 6, tag.rStart);
    putWord(b, 8, tag.rSizeAnnounced >= 0 ? tag.rSizeAnnounced : int(tag.rData.size()));
    put(b, 10, tag.gtin, 6);
    put(b, 16, tag.fw, 2);
    put(b, 18, tag.serial, 8);
    put(b, 26, tag.hw, 2);
    putWord(b, 0, crcOf(b, 2, 30)); // exchanged X-25 value, low byte first = MSB first
    return b;
}

QByteArray TagAreaBytes(const QByteArray &data)
{
    QByteArray b(2, '\0');
    b += data;
    putWord(b, 0, crcOf(b, 2, int(data.size())));
    return b;
}

QList<QByteArray> TagIdentFrames(const QByteArray &identBytes)
{
    QList<QByteArray> frames;
    for (int k = 0; k < 5; ++k) {
        QByteArray f;
        f.append(char(0x16)).append(char(k));
        f.append(identBytes.mid(7 * k, 7).leftJustified(7, '\0', true));
        frames << f;
    }
    return frames;
}

QList<QByteArray> TagAreaFrames(uint8_t frameId, const QByteArray &areaBytes, int announcedSize)
{
    QList<QByteArray> frames;
    const int blocks = announcedSize / kTagBlockBytes + 2;
    for (int b = 0; b < blocks; ++b) {
        QByteArray f;
        f.append(char(frameId)).append(char(b >> 8)).append(char(b & 0xFF));
        f.append(areaBytes.mid(kTagBlockBytes * b, kTagBlockBytes).leftJustified(kTagBlockBytes, '\0', true));
        frames << f;
    }
    return frames;
}

QList<QByteArray> TagReadFrames(const TagImage &tag)
{
    QList<QByteArray> frames = TagIdentFrames(TagIdentBytes(tag));
    frames += TagAreaFrames(0x17, TagAreaBytes(tag.rwData),
                            tag.rwSizeAnnounced >= 0 ? tag.rwSizeAnnounced : int(tag.rwData.size()));
    frames += TagAreaFrames(0x18, TagAreaBytes(tag.rData),
                            tag.rSizeAnnounced >= 0 ? tag.rSizeAnnounced : int(tag.rData.size()));
    frames << QByteArray::fromHex("19E0");
    return frames;
}
