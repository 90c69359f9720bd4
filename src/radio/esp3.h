#pragma once
// ESP3, the serial protocol of the EnOcean USB300 stick: the CRC8, the two kinds of
// packets this system sends (a radio telegram carrying one Tavel frame, a common
// command to the stick) and the 256-byte receive ring the parse loop reads from.
// Pure functions and plain data; the device simulator uses them too.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

namespace esp3 {

constexpr uint8_t kSync = 0x55;
// Packet types.
constexpr uint8_t kTypeRadioErp1 = 0x01;
constexpr uint8_t kTypeResponse = 0x02;
constexpr uint8_t kTypeEvent = 0x04;
constexpr uint8_t kTypeCommonCommand = 0x05;
// Common commands.
constexpr uint8_t CO_RD_VERSION = 0x03;
constexpr uint8_t CO_GET_DUTYCYCLE_LIMIT = 0x23;
// RORG of the manufacturer-specific telegrams that carry Tavel frames.
constexpr uint8_t kRorgTavel = 0xD1;
// A received packet longer than this is refused.
constexpr int kMaxReceivedPacket = 42;
// Sync byte, two length bytes, optional length, type, header CRC8.
constexpr int kHeaderSize = 6;
constexpr uint32_t kBroadcastId = 0xFFFFFFFFu;

// CRC-8 with polynomial 0x07, initial value 0, no reflection, no final XOR.
// Entry i is the CRC8 of the single byte i.
extern const std::array<uint8_t, 256> kCrc8Table;
inline uint8_t Crc8Step(uint8_t crc, uint8_t byte) { return kCrc8Table[crc ^ byte]; }
uint8_t Crc8(const uint8_t *data, std::size_t count, uint8_t crc = 0);
uint8_t Crc8(const QByteArray &data, uint8_t crc = 0);

// A whole packet: sync byte, header with its CRC8, data, optional data, data CRC8.
// Data lengths of 65536 or more are not representable and are cut.
QByteArray BuildPacket(uint8_t type, const QByteArray &data, const QByteArray &optional);

// The radio telegram that carries a Tavel frame of `n` bytes (n + 20 bytes): RORG
// 0xD1, the frame, the sender ID, status 0; optional data: sub-telegram 3, the
// destination ID, dBm 0xFF, security level 0.
QByteArray BuildRadioTelegram(const uint8_t *frame, uint8_t n, uint32_t senderId, uint32_t destinationId);
// A common command of `n` command bytes (n + 7 bytes).
QByteArray BuildCommonCommand(const uint8_t *command, uint8_t n);

// The receive ring: 256 bytes with one-byte read and write indexes that wrap.
// Unread bytes run from the read index up to, not including, the write index, so
// at most 255 bytes can be unread at a time; BufferFree() says how many more fit.
// Writing into a full ring is refused (the byte is not stored) instead of
// overwriting unread bytes.
class ReceiveRing {
public:
    static constexpr int kSize = 256;

    // Stores `b` at the write index and advances it; false (nothing stored) when full.
    bool BufferWrite(uint8_t b);
    // Number of unread bytes.
    int BufferContent() const { return static_cast<uint8_t>(write_ - read_); }
    // Bytes that still fit.
    int BufferFree() const { return kSize - 1 - BufferContent(); }
    // The byte `k` places after the read index.
    uint8_t BufferRead(int k) const { return bytes_[static_cast<uint8_t>(read_ + k)]; }
    // Advances the read index by `k` (at most the unread count).
    void BufferDel(int k);

    uint8_t readIndex() const { return read_; }
    uint8_t writeIndex() const { return write_; }
    // Empties the ring and puts both indexes at `index` (tests place packets that wrap).
    void Reset(uint8_t index = 0) { read_ = write_ = index; }

private:
    std::array<uint8_t, kSize> bytes_{};
    uint8_t read_ = 0;
    uint8_t write_ = 0;
};

} // namespace esp3
