#include "radio/esp3_receiver.h"

#include "common/hex_text.h"
#include "radio/tavel_frames.h"
#include "serial/stick_port.h"

namespace {
uint32_t bigEndian32(const ReceivedTelegram &t, int offset)
{
    return (uint32_t(t.at(offset)) << 24) | (uint32_t(t.at(offset + 1)) << 16) | (uint32_t(t.at(offset + 2)) << 8)
           | uint32_t(t.at(offset + 3));
}
} // namespace

uint32_t ReceivedTelegram::senderId() const { return bigEndian32(*this, esp3::kHeaderSize + L - 5); }
uint32_t ReceivedTelegram::destinationId() const { return bigEndian32(*this, esp3::kHeaderSize + L + O - 6); }

Esp3Receiver::Esp3Receiver(StickPort &port, QObject *parent) : QObject(parent), port_(port) {}

void Esp3Receiver::receive()
{
    if (!port_.isOpen())
        return;
    const int room = ring_.BufferFree();
    bool arrived = false;
    if (room > 0) {
        uint8_t buffer[esp3::ReceiveRing::kSize];
        int count = 0;
        if (port_.read(0, buffer, room, &count) == kComDone) {
            for (int i = 0; i < count; ++i)
                ring_.BufferWrite(buffer[i]);
            arrived = count > 0;
        }
    }
    if (arrived || resumeParse_ || room == 0)
        ProcessUsartData();
}

void Esp3Receiver::ProcessUsartData()
{
    if (parsing_)
        return; // a nested read: the running loop handles the new bytes
    parsing_ = true;
    struct Done {
        bool &flag;
        ~Done() { flag = false; }
    } done{parsing_};
    resumeParse_ = false;
    // A rejected candidate loses its sync byte; this run stops there and the next
    // read goes on with the bytes behind it.
    auto dropCandidate = [this] {
        ring_.BufferDel(1);
        resumeParse_ = ring_.BufferContent() > 0;
    };

    for (;;) {
        if (ring_.BufferContent() == 0)
            return;
        while (ring_.BufferContent() > 0 && ring_.BufferRead(0) != esp3::kSync)
            ring_.BufferDel(1);
        const int available = ring_.BufferContent();
        if (available < esp3::kHeaderSize)
            return;
        if (ring_.BufferRead(1) != 0) {
            dropCandidate();
            return;
        }
        const uint8_t L = ring_.BufferRead(2);
        const uint8_t O = ring_.BufferRead(3);
        const uint8_t type = ring_.BufferRead(4);
        uint8_t headerCrc = 0;
        for (int k = 1; k <= 4; ++k)
            headerCrc = esp3::Crc8Step(headerCrc, ring_.BufferRead(k));
        const uint8_t headerRead = ring_.BufferRead(5);
        if (headerCrc != headerRead) {
            emit logLine(QStringLiteral("Error: Header CRC wrong! calc: 0x") + HexByte(headerCrc)
                         + QStringLiteral(" read: 0x") + HexByte(headerRead));
            dropCandidate();
            return;
        }
        const int total = int(L) + int(O) + 7;
        if (total > esp3::kMaxReceivedPacket) {
            emit logLine(QStringLiteral("Error: Total length > 42 chars!"));
            dropCandidate();
            return;
        }
        if (ring_.BufferContent() < total) {
            emit logLine(QStringLiteral("Warning: Not enough chars in buffer for complete frame!"));
            return;
        }
        uint8_t dataCrc = 0;
        for (int k = 0; k < int(L) + int(O); ++k)
            dataCrc = esp3::Crc8Step(dataCrc, ring_.BufferRead(esp3::kHeaderSize + k));
        const uint8_t dataRead = ring_.BufferRead(esp3::kHeaderSize + L + O);
        if (dataCrc != dataRead) {
            emit logLine(QStringLiteral("Error: Data CRC8 wrong! calc: 0x") + HexByte(dataCrc)
                         + QStringLiteral(" read: 0x") + HexByte(dataRead));
            dropCandidate();
            return;
        }

        ReceivedTelegram packet;
        packet.L = L;
        packet.O = O;
        for (int k = 0; k < total; ++k)
            packet.packet[size_t(k)] = ring_.BufferRead(k);
        emit logLine(QStringLiteral("<- ")
                     + HexBytesCompact(QByteArray(reinterpret_cast<const char *>(packet.packet.data()), total)));
        if (type == esp3::kTypeResponse)
            emit responseReceived(packet);
        else if (type == esp3::kTypeRadioErp1)
            emit radioTelegramReceived(packet);
        ring_.BufferDel(total);
    }
}
