// What "cmake --install" puts where a package takes it from, and that the
// installed command line finds the installed catalogue when none is beside it.

#include "cli_runner.h"
#include "file_bytes.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
TEST(InstallTest, PutsTheProgramsDataDesktopEntryAndConfigurationInTheirFoldersAndTheCatalogueIsFound)
{
    QTemporaryDir dest;
    ASSERT_TRUE(dest.isValid());
    const QString buildDir = QFileInfo(QStringLiteral(TAVEL_BIN_DIR)).absolutePath();
    const CliRun install = RunProgram(QStringLiteral("cmake"), {QStringLiteral("--install"), buildDir},
                                      {{}, {QStringLiteral("DESTDIR=") + dest.path()}, 120000});
    ASSERT_EQ(install.exitCode, 0) << install.out.toStdString() << install.err.toStdString();

    // The tree below DESTDIR starts with the build's install prefix; find it by the programs.
    QString prefix;
    for (const QString &candidate : {QStringLiteral("/usr/local"), QStringLiteral("/usr")})
        if (QFileInfo(dest.path() + candidate + QStringLiteral("/bin/tavel-nfc")).isExecutable())
            prefix = dest.path() + candidate;
    ASSERT_FALSE(prefix.isEmpty()) << "tavel-nfc is not below " << dest.path().toStdString();
    for (const char *file : {"bin/tavel-nfc-config", "bin/tavel-nfc", "bin/tavel-devsim"})
        EXPECT_TRUE(QFileInfo(prefix + QLatin1Char('/') + QLatin1String(file)).isExecutable()) << file;
    for (const char *file : {"share/tavel-nfc/nfc_model.xml", "share/tavel-nfc/license.rtf",
                             "share/applications/tavel-nfc-config.desktop",
                             "share/icons/hicolor/scalable/apps/tavel-nfc-config.svg"})
        EXPECT_EQ(ReadFileBytes(prefix + QLatin1Char('/') + QLatin1String(file)).isEmpty(), false) << file;
    // The configuration file goes to the system's configuration folder of that prefix.
    const QStringList conf = {dest.path() + QStringLiteral("/etc/tavel-nfc/tavel-nfc.conf"),
                              prefix + QStringLiteral("/etc/tavel-nfc/tavel-nfc.conf")};
    EXPECT_TRUE(QFileInfo::exists(conf[0]) || QFileInfo::exists(conf[1]));

    // The desktop entry starts the installed desktop program by name, with its icon.
    const QString entry =
        QString::fromUtf8(ReadFileBytes(prefix + QStringLiteral("/share/applications/tavel-nfc-config.desktop")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=tavel-nfc-config\n"))) << entry.toStdString();
    EXPECT_TRUE(entry.contains(QStringLiteral("\nIcon=tavel-nfc-config\n"))) << entry.toStdString();

    // No catalogue beside the installed program: the installed data folder's is read.
    ASSERT_FALSE(QFileInfo::exists(prefix + QStringLiteral("/bin/nfc_model.xml")));
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const CliRun listed = RunProgram(prefix + QStringLiteral("/bin/tavel-nfc"), {QStringLiteral("catalogue")},
                                     {work.path(), DataHomeEnvironment(work.path())});
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_TRUE(listed.out.startsWith(QStringLiteral("index\tref_num\tfamily\ttype\n0\t"))) << listed.out.toStdString();
    // Taken away from there too, the catalogue is missing and the message names the
    // place beside the program.
    ASSERT_TRUE(QFile::remove(prefix + QStringLiteral("/share/tavel-nfc/nfc_model.xml")));
    const CliRun missing = RunProgram(prefix + QStringLiteral("/bin/tavel-nfc"), {QStringLiteral("catalogue")},
                                      {work.path(), DataHomeEnvironment(work.path())});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(prefix + QStringLiteral("/bin/nfc_model.xml"))) << missing.err.toStdString();
}
} // namespace
