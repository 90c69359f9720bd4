// The simulated programmer's reading side: a switch-to-read request is answered
// with the tag of one simulated driver - five identity blocks, the read-write area
// blocks, the read-only area blocks (each area beginning with its CRC-16) and the
// end tag frame. The read-write area holds what the last transfer wrote into the
// driver, so that a send followed by a read shows the values sent.
#include "devsim.h"

#include "radio/tag_image.h"

#include <cstdlib>
#include <set>

namespace {
constexpr uint8_t kSwitchToRead = 0x13;
constexpr int kFrameGapMs = 5;
// Tag addresses as the profile's descriptors write them; the programming data
// items address the same bytes 32 lower.
constexpr int kItemAddressOffset = 32;

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
        const size_t index = readDriver_ >= 1 && size_t(readDriver_) <= sim.drivers.size() ? size_t(readDriver_ - 1)
                                                                                             : sim.drivers.size() - 1;
        sendTag(sim, sim.drivers[index]);
        return true;
    }

private:
    bool fault(const char *name) const { return faults_.count(name) != 0; }

    TagImage image(const SimDriver &d) const
    {
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
        t.rStart = uint16_t(rwStart_ + 0x100);
        t.rData = QByteArray("TAVEL-DRIVER");
        return t;
    }

    void sendTag(Devsim &sim, const SimDriver &d)
    {
        const TagImage t = image(d);
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
        int delay = 20;
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
    std::set<std::string> faults_;
};

DevsimModuleRegistrar reg([] { return std::make_unique<TagReaderModule>(); });
} // namespace
