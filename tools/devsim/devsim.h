#pragma once
// tavel-devsim: a device simulator for the radio link. It opens a pseudo-terminal
// that behaves like an EnOcean USB300 stick with a handheld NFC programmer on the
// other side of the radio, so that the desktop program, the command line and the
// tests can run without hardware.
//
// Structure (one file per part, all in this folder):
//   devsim.h / main.cpp  the core: options, the pseudo-terminal, the event loop,
//                        the output queue with its faults, the record on stdout
//   stick.cpp            the stick: ESP3 parsing of what the system writes, the
//                        version, duty-cycle and acknowledgement responses
//   programmer.cpp       the handheld programmer: pairing, the transfer of
//                        identity and programming data into the simulated
//                        drivers' tags, feedback and transfer-complete frames
//
// Extension points for further simulated parts (add a new .cpp file; the build
// picks it up):
//   - Derive from DevsimModule and register it with
//         static DevsimModuleRegistrar reg([] { return std::make_unique<MyModule>(); });
//   - parseOption: take your own command-line options (return how many arguments
//     you consumed); printHelp adds your lines to --help.
//   - start: runs once after the options, before the loop (open a second
//     pseudo-terminal with Pty, print its path with sim.announce(...)).
//   - onFrame: every Tavel frame the system sends through the stick (after the
//     stick acknowledged it). Return true when you handled it; the programmer
//     module handles pairing, identity and programming data frames, and lets every
//     other frame ID pass to the other modules.
//   - pollFds / onReadable: file descriptors of your own to watch (e.g. a
//     bootloader pseudo-terminal) and what to do when one is readable.
//   - sim.drivers: the simulated drivers with the tag contents the last transfer
//     wrote (identity bytes and a memory of tag address -> byte).
//   - sim.sendFrameToSystem(frame): sends a Tavel frame from the programmer to the
//     system (wrapped in a radio telegram addressed to the system's sender ID,
//     through the output queue with its faults); sim.after(ms, fn) runs fn later.
//
// Everything written to standard output is one line per event, for tests:
//   "pty PATH", "link PATH", "ready", "rx <hex bytes>" for every valid packet
//   received from the system, "tx <hex bytes>" for every packet sent, and
//   "note <text>" for what the simulated devices did.

#include <poll.h>

#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

std::string HexLine(const Bytes &bytes); // "55 00 01 ..."

// A pseudo-terminal: the master side stays with the simulator, the slave path is
// what the system opens. The slave is kept open by the simulator as well (raw mode),
// so that it exists before the system opens it and survives reopening.
class Pty {
public:
    Pty() = default;
    ~Pty();
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;
    bool open(std::string *error);
    // Makes `link` a symbolic link to the slave path (replacing an existing link).
    bool linkTo(const std::string &link, std::string *error);
    void close(); // closes both sides and removes the link: the port vanishes
    int masterFd() const { return master_; }
    const std::string &slavePath() const { return slavePath_; }
    bool isOpen() const { return master_ >= 0; }
    // Writes all bytes to the master side; false when the port has gone.
    bool write(const Bytes &bytes);

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    std::string link_;
};

// A simulated driver with its NFC tag.
struct SimDriver {
    uint64_t serial = 0;
    bool programmed = false;
    Bytes identity;                      // the 18 identity bytes (GTIN, FW, serial, HW) last written
    std::map<uint16_t, uint8_t> memory;  // tag address -> byte, as the programming data items wrote them
};

struct StickConfig {
    uint32_t chipId = 0x0180A2B3;
    uint8_t app[4] = {2, 6, 3, 0};
    uint8_t api[4] = {2, 6, 0, 0};
};

struct ProgrammerConfig {
    uint32_t id = 0x01A2B3C4;
    uint8_t fwMajor = 2;
    uint8_t fwMinor = 10;
    bool pairingWithoutVersion = false; // the short pairing frame without firmware bytes
};

struct Faults {
    bool mute = false;             // the stick answers nothing at all
    bool noAck = false;
    bool wrongEsp3Crc = false;     // every packet sent with a wrong data CRC8
    bool wrongPairingCrc = false;  // the pairing frame's CRC8 is wrong
    bool wrongTransferCrc = false; // the transfer-complete frame carries a wrong checksum
    int noiseBytes = 0;            // noise bytes before every packet
    bool split = false;            // every packet written in two parts
    int splitGapMs = 150;
    int slowMs = 0;                // every answer delayed
    int vanishAfter = -1;          // the port vanishes after this many radio telegrams
};

class Devsim;

class DevsimModule {
public:
    virtual ~DevsimModule() = default;
    virtual const char *name() const = 0;
    // args[i] is an option nobody took yet; return how many arguments it uses (0: not mine).
    virtual int parseOption(const std::vector<std::string> & /*args*/, size_t /*i*/) { return 0; }
    virtual void printHelp(FILE * /*to*/) const {}
    virtual bool start(Devsim & /*sim*/) { return true; }
    // A Tavel frame from the system, with the destination it was sent to.
    virtual bool onFrame(Devsim & /*sim*/, const Bytes & /*frame*/, uint32_t /*destination*/) { return false; }
    virtual void pollFds(std::vector<pollfd> & /*fds*/) {}
    virtual void onReadable(Devsim & /*sim*/, int /*fd*/, short /*revents*/) {}
};

using DevsimModuleFactory = std::function<std::unique_ptr<DevsimModule>()>;
struct DevsimModuleRegistrar {
    explicit DevsimModuleRegistrar(DevsimModuleFactory factory);
};
std::vector<DevsimModuleFactory> &devsimModuleFactories();

class Devsim {
public:
    StickConfig stick;
    ProgrammerConfig programmer;
    Faults faults;
    std::vector<SimDriver> drivers;
    std::vector<std::unique_ptr<DevsimModule>> modules;
    Pty stickPty;
    // The sender ID of the last radio telegram from the system: the programmer
    // answers to it.
    uint32_t systemId = 0;
    int radioTelegramsReceived = 0;
    bool quit = false;

    // One line on standard output ("note ...", "pty ...").
    void announce(const std::string &line);
    void note(const std::string &text) { announce("note " + text); }
    // Queues a packet to the system after `delayMs` (plus the slow-answer fault),
    // in order after everything queued before; noise, split and wrong-CRC faults apply.
    void sendPacket(const Bytes &packet, int delayMs = 0);
    // A Tavel frame from the programmer to the system in a radio telegram.
    void sendFrameToSystem(const Bytes &frame, int delayMs = 0);
    // Runs `fn` after `ms` milliseconds.
    void after(int ms, std::function<void()> fn);
    // Called by the stick for every valid packet from the system.
    void handlePacket(const Bytes &packet);
    // Runs the loop until the port vanishes or the process is stopped.
    int run();

    // The stick's byte stream parser (stick.cpp).
    void feedStick(const uint8_t *data, size_t n);

private:
    struct Pending {
        int64_t at;
        Bytes bytes;
        bool isPacketStart;
    };
    void flushDue();
    int64_t nowMs() const;
    std::deque<Pending> out_;
    std::multimap<int64_t, std::function<void()>> timers_;
    int64_t lastOutAt_ = 0;
    Bytes in_;
};

// The stick's answers (stick.cpp).
void StickHandlePacket(Devsim &sim, const Bytes &packet);
// Esp3 helpers for the simulator.
Bytes MakePacket(uint8_t type, const Bytes &data, const Bytes &optional);
Bytes MakeRadioTelegram(const Bytes &frame, uint32_t sender, uint32_t destination);
uint8_t Crc8(const Bytes &bytes, size_t from = 0, size_t count = SIZE_MAX);
