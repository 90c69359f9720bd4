// The group hint of a serial device the user may not open, and the message when
// no browser could be opened for one of the maker's pages.

#include "app/web_page_opener.h"
#include "common/device_access_hint.h"
#include "common/maker_config.h"
#include "file_bytes.h"
#include "scripted_dialogs.h"
#include "serial/port_discovery.h"

#include <QFile>
#include <QTemporaryDir>
#include <grp.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
TEST(DeviceGroupHintTest, KeepsTheSystemsTextFirstAndNamesTheDevicesGroup)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString device = dir.filePath(QStringLiteral("ttyUSB0"));
    WriteFileBytes(device, "");
    // A new file belongs to the user's own group. Run as root, where that group is
    // the administrators' own, the file is handed to the usual serial group.
    const group *owner = getgrgid(getegid());
    ASSERT_NE(owner, nullptr);
    if (getegid() == 0 && (owner = getgrnam("dialout")) != nullptr)
        ASSERT_EQ(chown(device.toLocal8Bit().constData(), uid_t(-1), owner->gr_gid), 0);
    ASSERT_NE(owner, nullptr);
    const QString name = QString::fromLocal8Bit(owner->gr_name);
    const QString text = SerialOpenFailureText(QStringLiteral("ERROR: Could not connect. Maybe in use? Permission denied"),
                                               device, true);
    if (name == QLatin1String("root"))
        EXPECT_EQ(text, QStringLiteral("ERROR: Could not connect. Maybe in use? Permission denied: %1 is not open to "
                                       "your user; ask the administrator for access")
                            .arg(device));
    else
        EXPECT_EQ(text, QStringLiteral("ERROR: Could not connect. Maybe in use? Permission denied: add your user to "
                                       "the group '%1' (then log in again)")
                            .arg(name));
}

TEST(DeviceGroupHintTest, OtherFailuresAndUnknownDevicesAreReportedAsTheSystemSaysOrWithoutAGroup)
{
    EXPECT_EQ(SerialOpenFailureText(QStringLiteral("Device is busy"), QStringLiteral("ttyUSB0"), false),
              QStringLiteral("Device is busy"));
    // No such device file: no group to name.
    EXPECT_EQ(WithDeviceGroupHint(QStringLiteral("Permission denied"), QStringLiteral("/nonexistent/ttyX")),
              QStringLiteral("Permission denied: /nonexistent/ttyX is not open to your user; ask the administrator "
                             "for access"));
    EXPECT_EQ(DeviceFilePath(QStringLiteral("ttyACM0")), QStringLiteral("/dev/ttyACM0"));
    EXPECT_EQ(DeviceFilePath(QStringLiteral("/tmp/tavel-devsim-stick")), QStringLiteral("/tmp/tavel-devsim-stick"));
}

TEST(DeviceGroupHintTest, CouldNotConnectGetsTheHintOnlyForADeviceTheUserMayNotUse)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString device = dir.filePath(QStringLiteral("ttyACM0"));
    WriteFileBytes(device, "");
    EXPECT_EQ(DeviceAccessHint(device), QString()); // open to the user: in use, unplugged, ...
    EXPECT_EQ(DeviceAccessHint(dir.filePath(QStringLiteral("gone"))), QString());
    ASSERT_TRUE(QFile::setPermissions(device, QFileDevice::ReadOwner));
    if (geteuid() == 0)
        GTEST_SKIP() << "run as root, every device file is open to the user";
    const QString hint = DeviceAccessHint(device);
    EXPECT_TRUE(hint.startsWith(QStringLiteral(" Permission denied: add your user to the group '"))) << hint.toStdString();
}

TEST(ProgrammerPortSearchTest, UsesTheVendorIdOfTheMakersConfiguration)
{
    const SystemSerialPort builtIn{QStringLiteral("ttyACM0"), true, kDefaultProgrammerUsbVendorId, kProgrammerUsbProductId,
                                   QString::fromLatin1(kProgrammerDeviceDescription)};
    SystemSerialPort configured = builtIn;
    configured.portName = QStringLiteral("ttyACM1");
    configured.vendorId = 0x04D8;
    setSystemSerialPortLister([&] { return QList<SystemSerialPort>{builtIn, configured}; });
    EXPECT_EQ(FindProgrammerPorts(), QStringList{QStringLiteral("ttyACM0")});
    MakerConfig config;
    config.programmerUsbVendorId = 0x04D8;
    SetMakerConfigForTesting(&config);
    EXPECT_EQ(FindProgrammerPorts(), QStringList{QStringLiteral("ttyACM1")});
    SetMakerConfigForTesting(nullptr);
    setSystemSerialPortLister({});
}

TEST(WebPageOpenerTest, SaysPlainlyWhenNoBrowserCouldBeOpenedWithTheAddressToCopy)
{
    ScriptedDialogs dialogs;
    QList<QUrl> handed;
    EXPECT_TRUE(OpenWebAddress(QStringLiteral("https://maker.example/a"), [&](const QUrl &u) {
        handed << u;
        return true;
    }));
    EXPECT_EQ(dialogs.messages.size(), 0);
    EXPECT_FALSE(OpenWebAddress(QStringLiteral("https://maker.example/b"), [&](const QUrl &u) {
        handed << u;
        return false;
    }));
    EXPECT_EQ(handed, (QList<QUrl>{QUrl(QStringLiteral("https://maker.example/a")), QUrl(QStringLiteral("https://maker.example/b"))}));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("No web browser could be opened. Please open this address "
                                                       "yourself:\n\nhttps://maker.example/b"));
}

TEST(WebPageOpenerTest, ThePagesComeFromTheMakersConfiguration)
{
    MakerConfig config;
    config.companyWebPage = QStringLiteral("https://company.example/");
    config.productWebPage = QStringLiteral("https://company.example/product");
    config.programmerManualWebPage = QStringLiteral("https://company.example/manual.pdf");
    SetMakerConfigForTesting(&config);
    EXPECT_EQ(CompanyWebPage(), config.companyWebPage);
    EXPECT_EQ(ProductWebPage(), config.productWebPage);
    EXPECT_EQ(ProgrammerManualWebPage(), config.programmerManualWebPage);
    SetMakerConfigForTesting(nullptr);
}
} // namespace
