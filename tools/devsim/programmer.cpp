// The simulated handheld programmer: pairing, and the transfer of identity and
// programming data. Once the last item has arrived the programmer confirms the
// transfer with the CRC8 over what it received; then, as the operator holds it
// against one driver after another, it writes each simulated driver's tag and
// reports it with a feedback frame. Confirming first lets every driver record find
// the settings record of the transfer that programmed it.
#include "devsim.h"

#include "common/hex_text.h"
#include "radio/esp3.h"

namespace {
constexpr uint8_t kIdentity = 0x0E;
constexpr uint8_t kProgramming = 0x0F;
constexpr uint8_t kPairing = 0x10;
constexpr uint8_t kFeedback = 0x1A;
constexpr uint8_t kTransferComplete = 0x1B;
constexpr int kFeedbackGapMs = 30;

void appendId(Bytes &b, uint32_t id)
{
    b.insert(b.end(), {uint8_t(id >> 24), uint8_t(id >> 16), uint8_t(id >> 8), uint8_t(id)});
}

class ProgrammerModule : public DevsimModule {
public:
    const char *name() const override { return "programmer"; }

    bool onFrame(Devsim &sim, const Bytes &frame, uint32_t destination) override
    {
        if (frame.empty())
            return false;
        const bool toMe = destination == sim.programmer.id;
        if (frame[0] == kPairing && destination == esp3::kBroadcastId) {
            pair(sim);
            return true;
        }
        if (!toMe)
            return frame[0] == kIdentity || frame[0] == kProgramming; // not for this programmer
        if (frame[0] == kIdentity) {
            identity(sim, frame);
            return true;
        }
        if (frame[0] == kProgramming) {
            programming(sim, frame);
            return true;
        }
        return false;
    }

private:
    void pair(Devsim &sim)
    {
        Bytes f = {kPairing};
        appendId(f, sim.programmer.id);
        if (!sim.programmer.pairingWithoutVersion) {
            f.push_back(sim.programmer.fwMajor);
            f.push_back(sim.programmer.fwMinor);
        }
        uint8_t crc = Crc8(f, 1);
        if (sim.faults.wrongPairingCrc)
            crc ^= 0xFF;
        f.push_back(crc);
        sim.note("programmer: pairing accepted");
        sim.sendFrameToSystem(f, 20);
    }

    bool crcOk(Devsim &sim, const Bytes &frame)
    {
        if (frame.size() != 9 || Crc8(frame, 0, 8) != frame[8]) {
            sim.note("programmer: frame 0x" + HexByte(frame[0]).toStdString() + " refused (length or CRC8)");
            return false;
        }
        return true;
    }

    void identity(Devsim &sim, const Bytes &frame)
    {
        if (!crcOk(sim, frame))
            return;
        const int part = frame[1];
        if (part == 0) {
            identity_.assign(18, 0);
            items_.clear();
            checksum_ = 0;
        }
        if (part < 0 || part > 2)
            return;
        for (int i = 0; i < 6; ++i) {
            identity_[size_t(6 * part + i)] = frame[size_t(2 + i)];
            checksum_ = esp3::Crc8Step(checksum_, frame[size_t(2 + i)]);
        }
    }

    void programming(Devsim &sim, const Bytes &frame)
    {
        if (!crcOk(sim, frame))
            return;
        const int count = (frame[1] << 8) | frame[2];
        const int index = (frame[3] << 8) | frame[4];
        const uint16_t address = uint16_t((frame[5] << 8) | frame[6]);
        items_.push_back({address, frame[7]});
        checksum_ = esp3::Crc8Step(checksum_, frame[7]);
        if (index == count - 1)
            finish(sim);
    }

    void finish(Devsim &sim)
    {
        uint8_t crc = checksum_;
        if (sim.faults.wrongTransferCrc)
            crc ^= 0xFF;
        sim.note("programmer: transfer complete, CRC8 " + HexByte(crc).toStdString());
        sim.sendFrameToSystem({kTransferComplete, crc}, 30);

        int delay = 30;
        for (SimDriver &d : sim.drivers) {
            delay += kFeedbackGapMs;
            d.identity = identity_;
            for (const auto &[address, value] : items_)
                d.memory[address] = value;
            d.programmed = true;
            Bytes f = {kFeedback};
            for (int s = 7; s >= 0; --s)
                f.push_back(uint8_t(d.serial >> (8 * s)));
            appendId(f, sim.programmer.id);
            sim.note("programmer: driver " + std::to_string(d.serial) + " programmed");
            sim.sendFrameToSystem(f, delay);
        }
    }

    Bytes identity_ = Bytes(18, 0);
    std::vector<std::pair<uint16_t, uint8_t>> items_;
    uint8_t checksum_ = 0;
};

DevsimModuleRegistrar reg([] { return std::make_unique<ProgrammerModule>(); });
} // namespace
