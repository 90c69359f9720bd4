// The handheld programmer's second face: its USB serial port, on a pseudo-terminal
// of its own. The running firmware listens for the four-byte magic code and then
// restarts into the bootloader, which answers every data block with one byte, "!"
// for the first and "Y" for the others, after the time the block takes on a
// 19200-baud line plus a short processing time. A block is a burst of bytes ended
// by a quiet gap.
//
// Options (the bootloader is off unless --bootloader is given):
//   --bootloader               open the bootloader's pseudo-terminal ("bootloader PATH")
//   --bootloader-link PATH     make PATH a symbolic link to it
//   --bootloader-start         start in the bootloader (no magic code needed)
//   --bootloader-reply-ms MS   processing time before each answer (default 5)
//   --bootloader-restart-ms MS restart time after the magic code (default 100)
//   --bootloader-fault F       silent | wrong | slow, from block --bootloader-fault-at on
//   --bootloader-fault-at N    first block with the fault (default 1)
//   --bootloader-slow-ms MS    delay of a slow answer (default 400)
#include "devsim.h"

#include <cstdlib>
#include <unistd.h>

namespace {
const Bytes kMagic = {0x5C, 0x03, 0x09, 0xD1};
constexpr int kBaud = 19200;
constexpr int kBlockGapMs = 5;

class BootloaderModule : public DevsimModule {
public:
    const char *name() const override { return "bootloader"; }

    int parseOption(const std::vector<std::string> &args, size_t i) override
    {
        const std::string &a = args[i];
        const bool hasValue = i + 1 < args.size();
        const std::string v = hasValue ? args[i + 1] : std::string();
        if (a == "--bootloader")
            return enabled_ = true, 1;
        if (a == "--bootloader-start")
            return inBootloader_ = true, 1;
        if (!hasValue)
            return 0;
        if (a == "--bootloader-link")
            return link_ = v, 2;
        if (a == "--bootloader-reply-ms")
            return replyMs_ = std::atoi(v.c_str()), 2;
        if (a == "--bootloader-restart-ms")
            return restartMs_ = std::atoi(v.c_str()), 2;
        if (a == "--bootloader-fault-at")
            return faultAt_ = std::atoi(v.c_str()), 2;
        if (a == "--bootloader-slow-ms")
            return slowMs_ = std::atoi(v.c_str()), 2;
        if (a == "--bootloader-fault") {
            if (v != "silent" && v != "wrong" && v != "slow")
                return 0;
            return fault_ = v, 2;
        }
        return 0;
    }

    void printHelp(FILE *to) const override
    {
        std::fprintf(to,
                     "the programmer's bootloader (a second pseudo-terminal):\n"
                     "  --bootloader           open it; prints \"bootloader PATH\"\n"
                     "  --bootloader-link PATH make PATH a symbolic link to it\n"
                     "  --bootloader-start     start in the bootloader (no magic code needed)\n"
                     "  --bootloader-reply-ms MS    processing time per block (default 5)\n"
                     "  --bootloader-restart-ms MS  restart time after the magic code (default 100)\n"
                     "  --bootloader-fault F   silent | wrong | slow (answers nothing, 'N', or late)\n"
                     "  --bootloader-fault-at N     first block with the fault (default 1)\n"
                     "  --bootloader-slow-ms MS     delay of a slow answer (default 400)\n");
    }

    bool start(Devsim &sim) override
    {
        if (!enabled_)
            return true;
        std::string error;
        if (!pty_.open(&error)) {
            std::fprintf(stderr, "tavel-devsim: %s\n", error.c_str());
            return false;
        }
        sim.announce("bootloader " + pty_.slavePath());
        if (!link_.empty()) {
            if (!pty_.linkTo(link_, &error)) {
                std::fprintf(stderr, "tavel-devsim: %s\n", error.c_str());
                return false;
            }
            sim.announce("bootloader-link " + link_);
        }
        sim.note(inBootloader_ ? "bootloader waiting for data" : "programmer firmware running");
        return true;
    }

    void pollFds(std::vector<pollfd> &fds) override
    {
        if (pty_.isOpen())
            fds.push_back({pty_.masterFd(), POLLIN, 0});
    }

    void onReadable(Devsim &sim, int fd, short revents) override
    {
        if (fd != pty_.masterFd() || !(revents & POLLIN))
            return;
        uint8_t buf[1024];
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0)
            return;
        if (restarting_)
            return; // nobody listens while the programmer restarts
        if (!inBootloader_) {
            watchForMagicCode(sim, buf, size_t(n));
            return;
        }
        block_.insert(block_.end(), buf, buf + n);
        const uint64_t mark = ++reads_;
        sim.after(kBlockGapMs, [this, &sim, mark] {
            if (reads_ == mark) // nothing arrived since: the block is complete
                endOfBlock(sim);
        });
    }

private:
    void watchForMagicCode(Devsim &sim, const uint8_t *data, size_t n)
    {
        for (size_t i = 0; i < n; ++i) {
            recent_.push_back(data[i]);
            if (recent_.size() > kMagic.size())
                recent_.erase(recent_.begin());
            if (recent_ == kMagic) {
                recent_.clear();
                restarting_ = true;
                sim.note("bootloader magic code received, restarting");
                sim.after(restartMs_, [this, &sim] {
                    restarting_ = false;
                    inBootloader_ = true;
                    sim.note("bootloader waiting for data");
                });
                return;
            }
        }
    }

    void endOfBlock(Devsim &sim)
    {
        const size_t size = block_.size();
        block_.clear();
        ++blocks_;
        const bool faulty = !fault_.empty() && blocks_ >= faultAt_;
        // The block needs its time on the line before the bootloader has it all.
        int delay = int(size * 10 * 1000 / kBaud) + replyMs_;
        uint8_t reply = blocks_ == 1 ? '!' : 'Y';
        if (faulty && fault_ == "silent") {
            sim.note("bootloader block " + std::to_string(blocks_) + " (" + std::to_string(size)
                     + " bytes) not answered");
            return;
        }
        if (faulty && fault_ == "wrong")
            reply = 'N';
        if (faulty && fault_ == "slow")
            delay += slowMs_;
        sim.note("bootloader block " + std::to_string(blocks_) + " (" + std::to_string(size) + " bytes) answered "
                 + std::string(1, char(reply)));
        sim.after(delay, [this, reply] { pty_.write(Bytes{reply}); });
    }

    bool enabled_ = false;
    bool inBootloader_ = false;
    bool restarting_ = false;
    std::string link_;
    std::string fault_;
    int faultAt_ = 1;
    int replyMs_ = 5;
    int restartMs_ = 100;
    int slowMs_ = 400;
    Pty pty_;
    Bytes recent_;
    Bytes block_;
    uint64_t reads_ = 0;
    int blocks_ = 0;
};

DevsimModuleRegistrar reg([] { return std::make_unique<BootloaderModule>(); });
} // namespace
