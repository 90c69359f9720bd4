// The simulator's core: options, pseudo-terminal, event loop and output queue.
#include "devsim.h"

#include "common/hex_text.h"
#include "common/program_version.h"
#include "radio/esp3.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

// ---- Helpers ----------------------------------------------------------------------

std::string HexLine(const Bytes &bytes)
{
    const QByteArray raw(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
    return HexBytesSpaced(raw).mid(1).toStdString();
}

uint8_t Crc8(const Bytes &bytes, size_t from, size_t count)
{
    uint8_t c = 0;
    for (size_t i = from; i < bytes.size() && i - from < count; ++i)
        c = esp3::Crc8Step(c, bytes[i]);
    return c;
}

static Bytes toBytes(const QByteArray &a) { return Bytes(a.begin(), a.end()); }

Bytes MakePacket(uint8_t type, const Bytes &data, const Bytes &optional)
{
    return toBytes(esp3::BuildPacket(type, QByteArray(reinterpret_cast<const char *>(data.data()), qsizetype(data.size())),
                                     QByteArray(reinterpret_cast<const char *>(optional.data()), qsizetype(optional.size()))));
}

Bytes MakeRadioTelegram(const Bytes &frame, uint32_t sender, uint32_t destination)
{
    return toBytes(esp3::BuildRadioTelegram(frame.data(), uint8_t(frame.size()), sender, destination));
}

// ---- Pseudo-terminal ------------------------------------------------------------------

Pty::~Pty() { close(); }

bool Pty::open(std::string *error)
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        *error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char *name = ptsname(master_);
    if (!name) {
        *error = "ptsname failed";
        return false;
    }
    slavePath_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slave_ >= 0) {
        termios t{};
        if (tcgetattr(slave_, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(slave_, TCSANOW, &t);
        }
    }
    const int flags = fcntl(master_, F_GETFL);
    fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    return true;
}

bool Pty::linkTo(const std::string &link, std::string *error)
{
    ::unlink(link.c_str());
    if (::symlink(slavePath_.c_str(), link.c_str()) != 0) {
        *error = "cannot link " + link + ": " + std::strerror(errno);
        return false;
    }
    link_ = link;
    return true;
}

void Pty::close()
{
    if (!link_.empty()) {
        ::unlink(link_.c_str());
        link_.clear();
    }
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
    slave_ = master_ = -1;
}

bool Pty::write(const Bytes &bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        if (master_ < 0)
            return false;
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += size_t(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{master_, POLLOUT, 0};
            ::poll(&p, 1, 50);
        } else {
            return false;
        }
    }
    return true;
}

// ---- Modules ------------------------------------------------------------------------

std::vector<DevsimModuleFactory> &devsimModuleFactories()
{
    static std::vector<DevsimModuleFactory> list;
    return list;
}

DevsimModuleRegistrar::DevsimModuleRegistrar(DevsimModuleFactory factory)
{
    devsimModuleFactories().push_back(std::move(factory));
}

// ---- Core -----------------------------------------------------------------------------

int64_t Devsim::nowMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void Devsim::announce(const std::string &line)
{
    std::fprintf(stdout, "%s\n", line.c_str());
    std::fflush(stdout);
}

void Devsim::after(int ms, std::function<void()> fn) { timers_.emplace(nowMs() + ms, std::move(fn)); }

void Devsim::sendPacket(const Bytes &packetIn, int delayMs)
{
    Bytes packet = packetIn;
    if (faults.wrongEsp3Crc && !packet.empty())
        packet.back() ^= 0x5A;
    int64_t at = std::max(nowMs() + delayMs + faults.slowMs, lastOutAt_);
    if (faults.noiseBytes > 0) {
        Bytes noise;
        for (int i = 0; i < faults.noiseBytes; ++i)
            noise.push_back(uint8_t(0xA0 + (i % 16))); // never the sync byte
        out_.push_back({at, noise, false});
    }
    if (faults.split && packet.size() > 1) {
        const size_t half = packet.size() / 2;
        out_.push_back({at, Bytes(packet.begin(), packet.begin() + long(half)), true});
        at += faults.splitGapMs;
        out_.push_back({at, Bytes(packet.begin() + long(half), packet.end()), false});
    } else {
        out_.push_back({at, packet, true});
    }
    lastOutAt_ = at;
}

void Devsim::sendFrameToSystem(const Bytes &frame, int delayMs)
{
    sendPacket(MakeRadioTelegram(frame, programmer.id, systemId), delayMs);
}

void Devsim::flushDue()
{
    const int64_t now = nowMs();
    while (!out_.empty() && out_.front().at <= now) {
        Pending p = std::move(out_.front());
        out_.pop_front();
        if (p.isPacketStart || true)
            announce("tx " + HexLine(p.bytes));
        if (!stickPty.write(p.bytes)) {
            note("the port is gone");
            quit = true;
            return;
        }
    }
    while (!timers_.empty() && timers_.begin()->first <= now) {
        auto fn = std::move(timers_.begin()->second);
        timers_.erase(timers_.begin());
        fn();
    }
}

void Devsim::handlePacket(const Bytes &packet)
{
    announce("rx " + HexLine(packet));
    StickHandlePacket(*this, packet);
}

int Devsim::run()
{
    announce("ready");
    while (!quit) {
        std::vector<pollfd> fds;
        fds.push_back({stickPty.masterFd(), POLLIN, 0});
        for (auto &m : modules)
            m->pollFds(fds);
        int timeout = 200;
        const int64_t now = nowMs();
        if (!out_.empty())
            timeout = int(std::max<int64_t>(0, std::min<int64_t>(timeout, out_.front().at - now)));
        if (!timers_.empty())
            timeout = int(std::max<int64_t>(0, std::min<int64_t>(timeout, timers_.begin()->first - now)));
        const int r = ::poll(fds.data(), nfds_t(fds.size()), timeout);
        if (r < 0 && errno != EINTR)
            break;
        if (r > 0) {
            if (fds[0].revents & POLLIN) {
                uint8_t buf[512];
                const ssize_t n = ::read(stickPty.masterFd(), buf, sizeof buf);
                if (n > 0)
                    feedStick(buf, size_t(n));
            }
            for (size_t i = 1; i < fds.size(); ++i)
                if (fds[i].revents)
                    for (auto &m : modules)
                        m->onReadable(*this, fds[i].fd, fds[i].revents);
        }
        flushDue();
    }
    stickPty.close();
    return 0;
}

// ---- Options --------------------------------------------------------------------------

namespace {
void usage(FILE *to)
{
    std::fprintf(to,
                 "usage: tavel-devsim [options]\n"
                 "Simulates an EnOcean USB300 stick with a handheld NFC programmer behind it\n"
                 "on a pseudo-terminal; prints \"pty PATH\" and then one line per event.\n\n"
                 "  --version              print the version and the build's git revision\n"
                 "  --link PATH            make PATH a symbolic link to the pseudo-terminal\n"
                 "  --chip-id HEX          the stick's chip ID (default 0x0180A2B3)\n"
                 "  --api MAJ.MIN          the stick's API version (default 2.6)\n"
                 "  --programmer-id HEX    the programmer's ID (default 0x01A2B3C4)\n"
                 "  --fw MAJ.MIN           the programmer's firmware (default 2.10)\n"
                 "  --pairing-short        pairing frame without the firmware bytes\n"
                 "  --drivers N            simulated drivers programmed per transfer (default 1)\n"
                 "  --serial-base N        serial number of the first driver (default 12345)\n"
                 "faults:\n"
                 "  --mute                 the stick answers nothing at all\n"
                 "  --no-ack               never acknowledge a radio telegram\n"
                 "  --wrong-crc WHAT       esp3 | pairing | transfer\n"
                 "  --noise N              N noise bytes before every packet\n"
                 "  --split [MS]           every packet in two parts, MS apart (default 150)\n"
                 "  --slow MS              every answer MS later\n"
                 "  --vanish-after N       the port vanishes after N radio telegrams\n");
    for (auto &f : devsimModuleFactories())
        f()->printHelp(to);
}

bool parseHex32(const std::string &s, uint32_t *out)
{
    char *end = nullptr;
    const unsigned long long v = std::strtoull(s.c_str(), &end, 16);
    if (!end || *end || s.empty() || v > 0xFFFFFFFFull)
        return false;
    *out = uint32_t(v);
    return true;
}

bool parseVersion(const std::string &s, uint8_t *major, uint8_t *minor)
{
    unsigned a = 0, b = 0;
    if (std::sscanf(s.c_str(), "%u.%u", &a, &b) != 2 || a > 255 || b > 255)
        return false;
    *major = uint8_t(a);
    *minor = uint8_t(b);
    return true;
}
} // namespace

int main(int argc, char **argv)
{
    if (PrintVersionIfAsked(argc, argv, "tavel-devsim"))
        return 0;
    std::signal(SIGPIPE, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    Devsim sim;
    for (auto &f : devsimModuleFactories())
        sim.modules.push_back(f());
    std::string link;
    int driverCount = 1;
    uint64_t serialBase = 12345;

    auto fail = [](const std::string &msg) {
        std::fprintf(stderr, "tavel-devsim: %s\n", msg.c_str());
        return 2;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        const bool hasValue = i + 1 < args.size();
        const std::string value = hasValue ? args[i + 1] : std::string();
        if (a == "--help" || a == "-h") {
            usage(stdout);
            return 0;
        } else if (a == "--link" && hasValue) {
            link = value, ++i;
        } else if (a == "--chip-id" && hasValue) {
            if (!parseHex32(value, &sim.stick.chipId))
                return fail("bad --chip-id");
            ++i;
        } else if (a == "--api" && hasValue) {
            if (!parseVersion(value, &sim.stick.api[0], &sim.stick.api[1]))
                return fail("bad --api");
            ++i;
        } else if (a == "--programmer-id" && hasValue) {
            if (!parseHex32(value, &sim.programmer.id))
                return fail("bad --programmer-id");
            ++i;
        } else if (a == "--fw" && hasValue) {
            if (!parseVersion(value, &sim.programmer.fwMajor, &sim.programmer.fwMinor))
                return fail("bad --fw");
            ++i;
        } else if (a == "--pairing-short") {
            sim.programmer.pairingWithoutVersion = true;
        } else if (a == "--drivers" && hasValue) {
            driverCount = std::atoi(value.c_str()), ++i;
        } else if (a == "--serial-base" && hasValue) {
            serialBase = std::strtoull(value.c_str(), nullptr, 10), ++i;
        } else if (a == "--mute") {
            sim.faults.mute = true;
        } else if (a == "--no-ack") {
            sim.faults.noAck = true;
        } else if (a == "--wrong-crc" && hasValue) {
            if (value == "esp3")
                sim.faults.wrongEsp3Crc = true;
            else if (value == "pairing")
                sim.faults.wrongPairingCrc = true;
            else if (value == "transfer")
                sim.faults.wrongTransferCrc = true;
            else
                return fail("bad --wrong-crc");
            ++i;
        } else if (a == "--noise" && hasValue) {
            sim.faults.noiseBytes = std::atoi(value.c_str()), ++i;
        } else if (a == "--split") {
            sim.faults.split = true;
            if (hasValue && !value.empty() && value[0] != '-')
                sim.faults.splitGapMs = std::atoi(value.c_str()), ++i;
        } else if (a == "--slow" && hasValue) {
            sim.faults.slowMs = std::atoi(value.c_str()), ++i;
        } else if (a == "--vanish-after" && hasValue) {
            sim.faults.vanishAfter = std::atoi(value.c_str()), ++i;
        } else {
            int used = 0;
            for (auto &m : sim.modules)
                if ((used = m->parseOption(args, i)) > 0)
                    break;
            if (used <= 0) {
                usage(stderr);
                return fail("unknown option " + a);
            }
            i += size_t(used) - 1;
        }
    }
    if (driverCount < 0 || driverCount > 10000)
        return fail("bad --drivers");
    for (int k = 0; k < driverCount; ++k) {
        SimDriver d;
        d.serial = serialBase + uint64_t(k);
        sim.drivers.push_back(d);
    }

    std::string error;
    if (!sim.stickPty.open(&error))
        return fail(error);
    sim.announce("pty " + sim.stickPty.slavePath());
    if (!link.empty()) {
        if (!sim.stickPty.linkTo(link, &error))
            return fail(error);
        sim.announce("link " + link);
    }
    for (auto &m : sim.modules)
        if (!m->start(sim))
            return fail(std::string("module ") + m->name() + " failed to start");
    // Remove the link on the usual stop signals.
    static Devsim *current = &sim;
    auto stop = [](int) { current->quit = true; };
    std::signal(SIGTERM, stop);
    std::signal(SIGINT, stop);
    return sim.run();
}
