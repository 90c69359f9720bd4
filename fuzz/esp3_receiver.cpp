// Fuzz target: bytes from the stick's port as the radio link receives them. They
// go into the receive ring (the parse loop runs whenever the ring is full, as a
// read does), the parse loop finds and checks the ESP3 packets, and every radio
// telegram addressed to the link's own ID goes through the frame decoder into the
// tag buffers. The own ID is the one the simulator's stick reports, so that
// packets recorded from it are addressed to the link.
#include "fuzz_targets.h"

#include "radio/radio_link.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr uint32_t kOwnId = 0x0180A2B3;

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "fuzz_esp3_receiver";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv); // lives until the program ends
}
} // namespace

int FuzzEsp3Receiver(const uint8_t *data, size_t size)
{
    ensureApplication();
    RadioLink link;
    link.ownId = kOwnId;
    esp3::ReceiveRing &ring = link.ring();
    for (size_t i = 0; i < size; ++i) {
        if (ring.BufferFree() == 0)
            link.ProcessUsartData();
        if (ring.BufferFree() == 0) {
            std::fprintf(stderr, "the parse loop left a full ring unread after %zu bytes\n", i);
            std::abort();
        }
        if (!ring.BufferWrite(data[i])) {
            std::fprintf(stderr, "a byte did not fit a ring with room\n");
            std::abort();
        }
    }
    // What is left is parsed as the next ticks would; each loop must take something
    // away or stop at an incomplete packet.
    for (int tick = 0; tick < 4 && ring.BufferContent() > 0; ++tick)
        link.ProcessUsartData();
    return 0;
}
