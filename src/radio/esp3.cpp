#include "radio/esp3.h"

namespace esp3 {
namespace {
constexpr std::array<uint8_t, 256> makeTable()
{
    std::array<uint8_t, 256> t{};
    for (int i = 0; i < 256; ++i) {
        uint8_t c = static_cast<uint8_t>(i);
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 0x80) ? static_cast<uint8_t>((c << 1) ^ 0x07) : static_cast<uint8_t>(c << 1);
        t[i] = c;
    }
    return t;
}
} // namespace

const std::array<uint8_t, 256> kCrc8Table = makeTable();

uint8_t Crc8(const uint8_t *data, std::size_t count, uint8_t crc)
{
    for (std::size_t i = 0; i < count; ++i)
        crc = Crc8Step(crc, data[i]);
    return crc;
}

uint8_t Crc8(const QByteArray &data, uint8_t crc)
{
    return Crc8(reinterpret_cast<const uint8_t *>(data.constData()), static_cast<std::size_t>(data.size()), crc);
}

QByteArray BuildPacket(uint8_t type, const QByteArray &data, const QByteArray &optional)
{
    QByteArray p;
    p.reserve(7 + data.size() + optional.size());
    p.append(char(kSync));
    p.append(char((data.size() >> 8) & 0xFF));
    p.append(char(data.size() & 0xFF));
    p.append(char(optional.size() & 0xFF));
    p.append(char(type));
    p.append(char(Crc8(reinterpret_cast<const uint8_t *>(p.constData()) + 1, 4)));
    p.append(data);
    p.append(optional);
    p.append(char(Crc8(data + optional)));
    return p;
}

static void appendId(QByteArray &b, uint32_t id)
{
    b.append(char(id >> 24));
    b.append(char(id >> 16));
    b.append(char(id >> 8));
    b.append(char(id));
}

QByteArray BuildRadioTelegram(const uint8_t *frame, uint8_t n, uint32_t senderId, uint32_t destinationId)
{
    QByteArray data;
    data.append(char(kRorgTavel));
    data.append(reinterpret_cast<const char *>(frame), n);
    appendId(data, senderId);
    data.append(char(0x00)); // status
    QByteArray optional;
    optional.append(char(0x03)); // sub-telegram number
    appendId(optional, destinationId);
    optional.append(char(0xFF)); // dBm
    optional.append(char(0x00)); // security level
    return BuildPacket(kTypeRadioErp1, data, optional);
}

QByteArray BuildCommonCommand(const uint8_t *command, uint8_t n)
{
    return BuildPacket(kTypeCommonCommand, QByteArray(reinterpret_cast<const char *>(command), n), {});
}

bool ReceiveRing::BufferWrite(uint8_t b)
{
    if (BufferFree() == 0)
        return false;
    bytes_[write_] = b;
    ++write_;
    return true;
}

void ReceiveRing::BufferDel(int k)
{
    if (k > BufferContent())
        k = BufferContent();
    read_ = static_cast<uint8_t>(read_ + k);
}

} // namespace esp3
