// The firmware updater's port class on the in-memory serial line.
#include "fake_serial_port.h"
#include "print_qt.h"
#include "serial/tcom_class.h"

#include <gtest/gtest.h>

TEST(TComClass, ClosedPortRefusesEverythingAndOneByteReadWaitsTheConstantPlusOne)
{
    FakePortInstaller serial;
    serial.state->openFails = true;
    TComClass closed(3);
    EXPECT_EQ(closed.GetComState(), -1);
    EXPECT_EQ(closed.GetComStateText(), "Com zu");
    char b = 0;
    int n = -1;
    EXPECT_EQ(closed.WriteCom("x", 1), TComClass::kError);
    EXPECT_EQ(closed.ReadCom(0, &b, 1, n), TComClass::kError);

    serial.state->openFails = false;
    EXPECT_TRUE(closed.RestartCom());
    EXPECT_EQ(closed.GetComStateText(), "Ready on COM3");
    serial.state->readTimeouts.clear();
    EXPECT_EQ(closed.ReadCom(0, &b, 1, n), TComClass::kTimeout);
    EXPECT_EQ(serial.state->readTimeouts, QList<int>{101});
    serial.state->incoming = {"ab"};
    char buf[8] = {};
    EXPECT_EQ(closed.ReadCom(0, buf, 8, n), TComClass::kDone);
    EXPECT_EQ(QByteArray(buf, n), "ab");
    closed.Close();
    EXPECT_EQ(closed.GetComState(), -1);
    EXPECT_FALSE(serial.state->isOpen);
}
