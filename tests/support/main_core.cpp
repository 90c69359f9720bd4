#include <QCoreApplication>
#include <gtest/gtest.h>

// Tests of logic classes run inside a core application so that timers,
// serial ports and event processing behave as in the programs.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
