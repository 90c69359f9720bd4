// The system's names for numbered ports, and which port the search for the
// handheld programmer (the firmware updater's port) picks.
#include "print_qt.h"
#include "serial/port_discovery.h"

#include <gtest/gtest.h>

TEST(PortNames, WindowsNamesBelowAndFromTen)
{
    EXPECT_EQ(PortNameForNumber(9), QStringLiteral("COM9"));
    EXPECT_EQ(PortNameForNumber(10), QStringLiteral("\\\\.\\COM10"));
#ifdef Q_OS_WIN
    int n = 0;
    EXPECT_EQ(PortNameForEntry(QStringLiteral("COM12"), &n), QStringLiteral("\\\\.\\COM12"));
    EXPECT_EQ(n, 12);
#else
    int n = 0;
    EXPECT_EQ(PortNameForEntry(QStringLiteral("/tmp/stick"), &n), QStringLiteral("/tmp/stick"));
    EXPECT_EQ(n, -1);
#endif
}

TEST(FirmwarePorts, SearchSelectsTheLastProgrammerInstance)
{
    struct Case {
        const char *name;
        QList<SystemSerialPort> ports;
        QString expected;
    };
    const SystemSerialPort plain{"COM1", false, 0, 0, "Communications Port"};
    const SystemSerialPort stick{"COM3", true, 0x0403, 0x6001, "USB Serial Port"};
    const SystemSerialPort prog5{"COM5", true, kProgrammerUsbVendorId, 0x0005, "NFC programming device"};
    const SystemSerialPort prog8{"COM8", true, kProgrammerUsbVendorId, 0x0005, "NFC programming device (COM8)"};
    const SystemSerialPort otherProduct{"COM9", true, kProgrammerUsbVendorId, 0x0006, "NFC programming device"};
    const SystemSerialPort otherDescription{"COM10", true, kProgrammerUsbVendorId, 0x0005, "Bootloader"};
    const Case cases[] = {
        {"none", {plain, stick, otherProduct, otherDescription}, ""},
        {"one", {plain, prog5, stick}, "COM5"},
        {"two", {prog8, plain, prog5}, "COM5"},
        {"no ports", {}, ""},
    };
    for (const Case &c : cases) {
        setSystemSerialPortLister([&] { return c.ports; });
        EXPECT_EQ(FindProgrammerPort(), c.expected) << c.name;
    }
    setSystemSerialPortLister({});
}
