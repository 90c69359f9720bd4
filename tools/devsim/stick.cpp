// The simulated stick: cuts ESP3 packets out of what the system writes and answers
// common commands; every radio telegram is acknowledged with a one-byte response
// and its Tavel frame handed to the modules (the programmer first).
#include "devsim.h"

#include "common/hex_text.h"
#include "radio/esp3.h"

void Devsim::feedStick(const uint8_t *data, size_t n)
{
    in_.insert(in_.end(), data, data + n);
    for (;;) {
        size_t skip = 0;
        while (skip < in_.size() && in_[skip] != esp3::kSync)
            ++skip;
        if (skip)
            in_.erase(in_.begin(), in_.begin() + long(skip));
        if (in_.size() < 6)
            return;
        const size_t L = (size_t(in_[1]) << 8) | in_[2];
        const size_t O = in_[3];
        if (Crc8(in_, 1, 4) != in_[5]) {
            note("stick: header CRC8 wrong, sync byte dropped");
            in_.erase(in_.begin());
            continue;
        }
        const size_t total = L + O + 7;
        if (in_.size() < total)
            return;
        if (Crc8(in_, 6, L + O) != in_[6 + L + O]) {
            note("stick: data CRC8 wrong, sync byte dropped");
            in_.erase(in_.begin());
            continue;
        }
        const Bytes packet(in_.begin(), in_.begin() + long(total));
        in_.erase(in_.begin(), in_.begin() + long(total));
        handlePacket(packet);
        if (quit)
            return;
    }
}

static Bytes response(std::initializer_list<uint8_t> data) { return MakePacket(esp3::kTypeResponse, Bytes(data), {}); }

void StickHandlePacket(Devsim &sim, const Bytes &p)
{
    const size_t L = (size_t(p[1]) << 8) | p[2];
    const size_t O = p[3];
    const uint8_t type = p[4];
    const Bytes data(p.begin() + 6, p.begin() + 6 + long(L));
    const Bytes optional(p.begin() + 6 + long(L), p.begin() + 6 + long(L + O));
    if (sim.faults.mute)
        return;

    if (type == esp3::kTypeCommonCommand && !data.empty()) {
        if (data[0] == esp3::CO_RD_VERSION) {
            Bytes d = {0x00};
            d.insert(d.end(), sim.stick.app, sim.stick.app + 4);
            d.insert(d.end(), sim.stick.api, sim.stick.api + 4);
            const uint32_t id = sim.stick.chipId;
            d.insert(d.end(), {uint8_t(id >> 24), uint8_t(id >> 16), uint8_t(id >> 8), uint8_t(id)});
            d.insert(d.end(), {0x45, 0x4F, 0x01, 0x03}); // chip version
            const char *description = "GATEWAYCTRL";
            for (int i = 0; i < 16; ++i)
                d.push_back(i < 11 ? uint8_t(description[i]) : 0);
            sim.sendPacket(MakePacket(esp3::kTypeResponse, d, {}));
            sim.note("stick: version response");
        } else if (data[0] == esp3::CO_GET_DUTYCYCLE_LIMIT) {
            sim.sendPacket(response({0x00, 99, 20, 0x0E, 0x10, 0x00, 0xB4, 98}));
            sim.note("stick: duty-cycle response");
        } else {
            sim.sendPacket(response({0x02})); // not supported
        }
        return;
    }
    if (type != esp3::kTypeRadioErp1 || data.size() < 6)
        return;

    ++sim.radioTelegramsReceived;
    if (sim.faults.vanishAfter >= 0 && sim.radioTelegramsReceived > sim.faults.vanishAfter) {
        sim.note("stick: the port vanishes");
        sim.quit = true;
        return;
    }
    if (!sim.faults.noAck)
        sim.sendPacket(response({0x00}));

    // RORG, frame, sender ID (4), status; optional: sub-telegram, destination (4), dBm, security.
    if (data[0] != esp3::kRorgTavel)
        return;
    const size_t n = data.size() - 6;
    sim.systemId = (uint32_t(data[1 + n]) << 24) | (uint32_t(data[2 + n]) << 16) | (uint32_t(data[3 + n]) << 8)
                   | uint32_t(data[4 + n]);
    uint32_t destination = 0;
    if (optional.size() >= 5)
        destination = (uint32_t(optional[1]) << 24) | (uint32_t(optional[2]) << 16) | (uint32_t(optional[3]) << 8)
                      | uint32_t(optional[4]);
    const Bytes frame(data.begin() + 1, data.begin() + 1 + long(n));
    for (auto &m : sim.modules)
        if (m->onFrame(sim, frame, destination))
            return;
    if (!frame.empty()) {
        sim.note("programmer: frame 0x" + HexByte(frame[0]).toStdString() + " not handled");
    }
}
