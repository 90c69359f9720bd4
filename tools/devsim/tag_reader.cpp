// The simulated programmer's reading side: a switch-to-read request is answered
// with the tag of one simulated driver - five identity blocks, the read-write area
// blocks, the read-only area blocks (each area beginning with its CRC-16) and the
// end tag frame. The read-write area holds what the last transfer wrote into the
// driver, so that a send followed by a read shows the values sent. Options let a
// driver's tag differ from what was sent (one stored byte changed) and let one
// switch to read be answered with the tag of every driver in turn, as when the
// operator holds the programmer against one driver after another.
#include "devsim.h"

#include "radio/tag_image.h"

#include <cstdlib>
#include <set>
#include <string>

namespace {
constexpr uint8_t kSwitchToRead = 0x13;
constexpr int kFrameGapMs = 5;
// Tag addresses as the profile's descriptors write them; the programming data
// items address the same bytes 32 lower.
constexpr int kItemAddressOffset = 32;
// The pause between two drivers' tags when every driver is read.
constexpr int kNextDriverGapMs = 100;

// One stored byte changed: on driver `driver` (1-based; 0 all), tag address `address`.
struct TagChange {
    int driver = 0;
    long address = 0;
    long value = 0;
};

// "[N:]ADDR=BYTE", numbers decimal or 0x hexadecimal. False when malformed.
bool parseTagChange(const std::string &text, TagChange &change)
{
    std::string rest = text;
    const size_t colon = rest.find(':');
    char *end = nullptr;
    if (colon != std::string::npos) {
        change.driver = int(std::strtol(rest.c_str(), &end, 10));
        if (end != rest.c_str() + colon || change.driver < 1)
            return false;
        rest = rest.substr(colon + 1);
    }
    const size_t eq = rest.find('=');
    if (eq == std::string::npos || eq == 0 || eq + 1 == rest.size())
        return false;
    const std::string address = rest.substr(0, eq), value = rest.substr(eq + 1);
    change.address = std::strtol(address.c_str(), &end, 0);
    if (*end != '\0' || change.address < 0 || change.address > 0xFFFF)
        return false;
    change.value = std::strtol(value.c_str(), &end, 0);
    return *end == '\0' && change.value >= 0 && change.value <= 0xFF;
}

class TagReaderModule : public DevsimModule {
public:
    const char *name() const override { return "tag-reader"; }

    int parseOption(const std::vector<std::string> &args, size_t i) override
    {
        const std::string &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--read-driver" && hasValue) {
            readDriver_ = std::atoi(args[i + 1].c_str());
            return 2;
        }
        if (a == "--tag-rw-start" && hasValue) {
            rwStart_ = std::atoi(args[i + 1].c_str());
            return 2;
        }
        if (a == "--tag-rw-size" && hasValue) {
            rwSize_ = std::atoi(args[i + 1].c_str());
            return 2;
        }
        if (a == "--read-all") {
            readAll_ = true;
            return 1;
        }
        if (a == "--tag-change" && hasValue) {
            TagChange change;
            if (!parseTagChange(args[i + 1], change))
                return 0;
            changes_.push_back(change);
            return 2;
        }
        if (a == "--complete-on-read") {
            completeOnRead_ = true;
            return 1;
        }
        if (a == "--tag-fault" && hasValue) {
            static const std::set<std::string> known = {"ident-crc", "area-crc", "order", "twice",
                                                        "end-marker", "too-large"};
            if (!known.count(args[i + 1]))
                return 0;
            faults_.insert(args[i + 1]);
            return 2;
        }
        return 0;
    }

    void printHelp(FILE *to) const override
    {
        std::fputs("tag reading (switch to read 0x13):\n"
                   "  --read-driver N        the driver whose tag is read (1-based; default the last)\n"
                   "  --tag-rw-start N       the read-write area's start address (default 256)\n"
                   "  --tag-rw-size N        the read-write area's size in bytes (default 30)\n"
                   "  --read-all             a switch to read is answered with the tag of every\n"
                   "                         driver in turn (default: one driver's)\n"
                   "  --tag-change [N:]ADDR=BYTE  the tag of driver N (1-based; default every\n"
                   "                         driver) holds BYTE at tag address ADDR instead of what\n"
                   "                         was sent (repeatable; decimal or 0x hexadecimal)\n"
                   "  --complete-on-read     a transfer-complete frame (1B 00) nobody asked for\n"
                   "                         before the tag\n"
                   "  --tag-fault WHAT       ident-crc | area-crc | order (identity blocks 0,2,1,3,4)\n"
                   "                         | twice (read-write block 0 twice) | end-marker\n"
                   "                         | too-large (a read-write area of 600 bytes)\n",
                   to);
    }

    bool onFrame(Devsim &sim, const Bytes &frame, uint32_t destination) override
    {
        if (frame.empty() || frame[0] != kSwitchToRead || destination != sim.programmer.id)
            return false;
        if (sim.drivers.empty()) {
            sim.note("programmer: switch to read, no driver to read");
            return true;
        }
        if (readAll_) {
            for (size_t index = 0; index < sim.drivers.size(); ++index)
                sendTag(sim, index, index == 0 ? 20 : kNextDriverGapMs);
            return true;
        }
        const size_t index = readDriver_ >= 1 && size_t(readDriver_) <= sim.drivers.size() ? size_t(readDriver_ - 1)
                                                                                             : sim.drivers.size() - 1;
        sendTag(sim, index, 20);
        return true;
    }

private:
    bool fault(const char *name) const { return faults_.count(name) != 0; }

    TagImage image(Devsim &sim, size_t index) const
    {
        const SimDriver &d = sim.drivers[index];
        TagImage t;
        const Bytes id = d.identity.size() == 18 ? d.identity : Bytes(18, 0);
        t.gtin = QByteArray(reinterpret_cast<const char *>(id.data()), 6);
        t.fw = QByteArray(reinterpret_cast<const char *>(id.data() + 6), 2);
        t.hw = QByteArray(reinterpret_cast<const char *>(id.data() + 16), 2);
        t.serial.clear();
        for (int s = 7; s >= 0; --s)
            t.serial.append(char(d.serial >> (8 * s)));
        t.rwStart = uint16_t(rwStart_);
        const int rwSize = fault("too-large") ? 600 : rwSize_;
        for (int j = 0; j < rwSize; ++j) {
            const int item = rwStart_ + 2 + j - kItemAddressOffset;
            const auto it = d.memory.find(uint16_t(item));
            t.rwData.append(char(item >= 0 && it != d.memory.end() ? it->second : 0));
        }
        for (const TagChange &c : changes_) {
            if (c.driver != 0 && size_t(c.driver) != index + 1)
                continue;
            const long j = c.address - rwStart_ - 2;
            if (j >= 0 && j < t.rwData.size()) {
                t.rwData[qsizetype(j)] = char(c.value);
                sim.note("programmer: driver " + std::to_string(d.serial) + " holds a changed byte at "
                         + std::to_string(c.address));
            } else {
                sim.note("programmer: tag change at " + std::to_string(c.address) + " lies outside the area");
            }
        }
        t.rStart = uint16_t(rwStart_ + 0x100);
        t.rData = QByteArray("TAVEL-DRIVER");
        return t;
    }

    void sendTag(Devsim &sim, size_t index, int firstDelayMs)
    {
        const SimDriver &d = sim.drivers[index];
        const TagImage t = image(sim, index);
        QByteArray ident = TagIdentBytes(t);
        if (fault("ident-crc"))
            ident[0] = char(ident[0] ^ 0xFF);
        QList<QByteArray> frames = TagIdentFrames(ident);
        if (fault("order"))
            frames.swapItemsAt(1, 2);
        QByteArray rw = TagAreaBytes(t.rwData);
        if (fault("area-crc"))
            rw[0] = char(rw[0] ^ 0xFF);
        QList<QByteArray> rwFrames = TagAreaFrames(0x17, rw, int(t.rwData.size()));
        if (fault("twice"))
            rwFrames.prepend(rwFrames.first());
        frames += rwFrames;
        frames += TagAreaFrames(0x18, TagAreaBytes(t.rData), int(t.rData.size()));
        frames << QByteArray::fromHex(fault("end-marker") ? "19E1" : "19E0");
        sim.note("programmer: reading the tag of driver " + std::to_string(d.serial) + ", "
                 + std::to_string(frames.size()) + " frames");
        int delay = firstDelayMs;
        if (completeOnRead_) {
            sim.note("programmer: an unsolicited transfer-complete frame");
            frames.prepend(QByteArray::fromHex("1B00"));
        }
        for (const QByteArray &f : frames) {
            sim.sendFrameToSystem(Bytes(f.begin(), f.end()), delay);
            delay = kFrameGapMs;
        }
    }

    int readDriver_ = 0;
    int rwStart_ = 256;
    int rwSize_ = 30;
    bool completeOnRead_ = false;
    bool readAll_ = false;
    std::vector<TagChange> changes_;
    std::set<std::string> faults_;
};

DevsimModuleRegistrar reg([] { return std::make_unique<TagReaderModule>(); });
} // namespace
