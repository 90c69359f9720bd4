#pragma once
// The ESP3 receiver of the stick's port: the receive ring and the parse loop that
// finds each packet in it, checks its header and data CRC8 and hands every valid
// packet on (responses of the stick and radio telegrams separately). It reads
// when the port says new bytes wait, and on the 110 ms tick of its owner as the
// fallback (bytes that did not fit the ring, ports that cannot tell). A read never
// waits for bytes.
//
// Everything runs on the GUI thread. A handler of a packet may run a nested event
// loop (every radio-log line lets the window process events) in which more bytes
// arrive: the parse loop never runs
// re-entrantly (a nested read puts its bytes into the ring and skips the loop; the
// outer loop then handles them) and every packet is handled exactly once.

#include "radio/esp3.h"

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>

class StickPort;

// A valid packet as the parse loop hands it on: a copy of the packet at the read
// index (the ring is not moved while it is handled).
struct ReceivedTelegram {
    uint8_t L = 0; // data length
    uint8_t O = 0; // optional length
    std::array<uint8_t, esp3::kMaxReceivedPacket> packet{}; // sync byte first; zero after the packet

    uint8_t data(int i) const { return at(esp3::kHeaderSize + i); }
    uint8_t optional(int i) const { return at(esp3::kHeaderSize + L + i); }
    // The Tavel frame: data bytes 1 ... L - 6 (frameLength() bytes).
    uint8_t frame(int i) const { return data(1 + i); }
    int frameLength() const { return L - 6; }
    uint32_t senderId() const;      // data bytes L-5 ... L-2, big-endian
    uint32_t destinationId() const; // the four optional bytes before the last two
    uint8_t at(int offset) const
    {
        return offset >= 0 && offset < int(packet.size()) ? packet[size_t(offset)] : 0;
    }
};

class Esp3Receiver : public QObject {
    Q_OBJECT
public:
    explicit Esp3Receiver(StickPort &port, QObject *parent = nullptr);

    // Reads what waits in the port (only what fits the ring, so unread bytes are
    // never overwritten; the rest waits in the port) and runs the parse loop when
    // bytes arrived, when the last loop stopped after dropping a rejected candidate
    // (a valid packet may follow it) or when the ring is full.
    void receive();
    // The parse loop over the ring.
    void ProcessUsartData();
    esp3::ReceiveRing &ring() { return ring_; }
    // True while the parse loop runs (a nested read then skips it).
    bool parsing() const { return parsing_; }

signals:
    void logLine(const QString &line);
    void responseReceived(const ReceivedTelegram &packet);    // packet type 2
    void radioTelegramReceived(const ReceivedTelegram &packet); // packet type 1

private:
    StickPort &port_;
    esp3::ReceiveRing ring_;
    bool parsing_ = false;
    bool resumeParse_ = false; // the last loop dropped a candidate with bytes left
};
