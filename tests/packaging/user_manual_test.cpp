// Finding the HTML user manual (beside the program, else installed) and opening
// it: a missing manual or a browser that does not open is said with its place.

#include "app/user_manual_opener.h"
#include "common/user_manual.h"
#include "scripted_dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ManualCase {
    const char *name;
    bool besideProgram;
    bool installed;
    bool browserOpens;
    // Which page is opened ("beside", "installed" or "" for none) and the message.
    const char *openedPage;
    const char *message; // "" none, "missing" or "not opened"
};

void PrintTo(const ManualCase &c, std::ostream *os) { *os << c.name; }

class UserManualTest : public ::testing::TestWithParam<ManualCase> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir().mkpath(programFolder()));
    }
    QString programFolder() const { return root.path() + QStringLiteral("/usr/bin"); }
    QString besidePage() const { return programFolder() + QStringLiteral("/manual/index.html"); }
    QString installedPage() const { return root.path() + QStringLiteral("/usr/share/doc/tavel-nfc/manual/index.html"); }
    static void writePage(const QString &path)
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<html></html>");
    }
    QTemporaryDir root;
};

TEST_P(UserManualTest, OpensTheFirstManualFoundOrSaysWhereItIs)
{
    const ManualCase &c = GetParam();
    if (c.besideProgram)
        writePage(besidePage());
    if (c.installed)
        writePage(installedPage());
    ScriptedDialogs dialogs;
    QList<QUrl> opened;
    const bool result = OpenUserManual(programFolder(), [&](const QUrl &url) {
        opened << url;
        return c.browserOpens;
    });

    const QString expected = QLatin1String(c.openedPage) == QLatin1String("beside")      ? besidePage()
                             : QLatin1String(c.openedPage) == QLatin1String("installed") ? installedPage()
                                                                                          : QString();
    if (expected.isEmpty()) {
        EXPECT_TRUE(opened.isEmpty());
    } else {
        ASSERT_EQ(opened.size(), 1);
        EXPECT_EQ(opened[0], QUrl::fromLocalFile(expected));
    }
    EXPECT_EQ(result, !expected.isEmpty() && c.browserOpens);

    const QString kind = QLatin1String(c.message);
    if (kind.isEmpty()) {
        EXPECT_TRUE(dialogs.messages.isEmpty());
        return;
    }
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Error"));
    // Without a manual the message names where the package puts it; when the
    // browser did not open, the page that was found.
    const QString text = kind == QLatin1String("missing") ? ManualMissingText(installedPage())
                                                          : ManualNotOpenedText(expected);
    EXPECT_EQ(dialogs.messages[0].text, text);
    EXPECT_TRUE(dialogs.messages[0].text.contains(kind == QLatin1String("missing") ? installedPage() : expected));
}

INSTANTIATE_TEST_SUITE_P(
    Places, UserManualTest,
    ::testing::Values(ManualCase{"BesideTheProgramBeforeTheInstalledOne", true, true, true, "beside", ""},
                      ManualCase{"InstalledOnly", false, true, true, "installed", ""},
                      ManualCase{"NoneAnywhere", false, false, true, "", "missing"},
                      ManualCase{"NoBrowserOpens", true, false, false, "beside", "not opened"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(UserManualPlaceTest, NamesTheFoundPageElseTheInstalledPlace)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString bin = root.path() + QStringLiteral("/usr/bin");
    ASSERT_TRUE(QDir().mkpath(bin + QStringLiteral("/manual")));
    EXPECT_EQ(FindUserManual(bin), QString());
    EXPECT_EQ(UserManualPlace(bin), root.path() + QStringLiteral("/usr/share/doc/tavel-nfc/manual/index.html"));
    // A folder named like the page is not the manual.
    ASSERT_TRUE(QDir().mkpath(bin + QStringLiteral("/manual/index.html")));
    EXPECT_EQ(FindUserManual(bin), QString());
}

} // namespace
