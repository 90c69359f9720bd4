// The programs' own help, and the manual pages made from it: the desktop
// program's help needs no display, every help names the user manual, and each
// manual page renders with "man -l" and carries every option and command the
// program's help lists today.

#include "cli_runner.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

QString Program(const char *name) { return QStringLiteral(TAVEL_BIN_DIR "/") + QString::fromLatin1(name); }

// Runs `program` with no display at all: no X11 or Wayland session and no Qt
// platform chosen, as on a server or in a shell over ssh.
CliRun RunWithoutDisplay(const QString &program, const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    p.setProcessEnvironment(env);
    p.start(program, args);
    CliRun r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << program.toStdString() << " did not finish";
        return r;
    }
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return r;
}

// The options a help text lists in its option lines ("  --port PATH  ...").
QSet<QString> ListedOptions(const QString &help)
{
    QSet<QString> options;
    const QRegularExpression line(QStringLiteral("^\\s+(-[-a-zA-Z0-9]+)"), QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(help); it.hasNext();)
        options.insert(it.next().captured(1));
    const QRegularExpression more(QStringLiteral("^\\s+-[-a-zA-Z0-9]+, (--[-a-zA-Z0-9]+)"),
                                  QRegularExpression::MultilineOption);
    for (auto it = more.globalMatch(help); it.hasNext();)
        options.insert(it.next().captured(1));
    return options;
}

// The page as "man -l" shows it on a terminal wide enough that no path is broken
// over two lines; warnings of the formatter go to `err`.
CliRun RenderManPage(const char *program)
{
    const QString page = QStringLiteral(TAVEL_BIN_DIR "/../man/") + QString::fromLatin1(program) + QStringLiteral(".1.gz");
    EXPECT_TRUE(QFileInfo::exists(page)) << page.toStdString() << " is not built";
    return RunProgram(QStringLiteral("man"), {QStringLiteral("--warnings"), QStringLiteral("-l"), page},
                      {{}, {QStringLiteral("MANPAGER=cat"), QStringLiteral("MANWIDTH=250"), QStringLiteral("LANG=C.UTF-8")}});
}

// Lines of a rendered page without the formatter's bold/underline and hyphenation.
QString Plain(QString text)
{
    text.remove(QRegularExpression(QStringLiteral(".\\x08")));
    const std::pair<QChar, QChar> typographic[] = {{QChar(0x2010), QLatin1Char('-')}, {QChar(0x2212), QLatin1Char('-')},
                                                   {QChar(0x2019), QLatin1Char('\'')}, {QChar(0x2018), QLatin1Char('`')},
                                                   {QChar(0x02C6), QLatin1Char('^')}, {QChar(0x02DC), QLatin1Char('~')}};
    for (const auto &[from, to] : typographic)
        text.replace(from, to);
    return text;
}

TEST(DesktopHelpTest, PrintsTheOptionsWithoutADisplayAndEndsWithStatusZero)
{
    for (const char *option : {"--help", "-h"}) {
        const CliRun r = RunWithoutDisplay(Program("tavel-nfc-config"), {QString::fromLatin1(option)});
        EXPECT_EQ(r.exitCode, 0) << option << ": " << r.err.toStdString();
        EXPECT_EQ(r.err, QString()) << option;
        EXPECT_TRUE(r.out.startsWith(QStringLiteral("Usage: tavel-nfc-config [qavrelo] [--port PATH]..."))) << r.out.toStdString();
        EXPECT_EQ(ListedOptions(r.out), (QSet<QString>{QStringLiteral("--port"), QStringLiteral("--firmware-port"),
                                                       QStringLiteral("-h"), QStringLiteral("--help"),
                                                       QStringLiteral("--version")}))
            << r.out.toStdString();
        EXPECT_TRUE(r.out.contains(QStringLiteral("\n  qavrelo "))) << "the expert-mode keyword";
        EXPECT_TRUE(r.out.contains(QStringLiteral("TAVEL_RECORDS_URL")));
    }
}

// Both help texts name the manual the build made beside the programs.
TEST(HelpNamesTheManualTest, TheBuildsManualBesideThePrograms)
{
    const QString manual = QStringLiteral(TAVEL_BIN_DIR "/manual/index.html");
    ASSERT_TRUE(QFileInfo(manual).isFile()) << "the user manual is not built";
    const CliRun cli = RunWithoutDisplay(Program("tavel-nfc"), {QStringLiteral("--help")});
    EXPECT_EQ(cli.exitCode, 0);
    const CliRun desktop = RunWithoutDisplay(Program("tavel-nfc-config"), {QStringLiteral("--help")});
    const QString canonical = QFileInfo(manual).canonicalFilePath();
    for (const QString &out : {cli.out, desktop.out}) {
        const QRegularExpression line(QStringLiteral("(?:user manual|User manual)[^:]*: (\\S+)\\n"));
        const auto m = line.match(out);
        ASSERT_TRUE(m.hasMatch()) << out.toStdString();
        EXPECT_EQ(QFileInfo(m.captured(1)).canonicalFilePath(), canonical) << out.toStdString();
    }
}

class ManPageTest : public ::testing::TestWithParam<const char *> {};

TEST_P(ManPageTest, RendersWithoutWarningsAndCarriesEveryOptionOfTheHelp)
{
    const CliRun page = RenderManPage(GetParam());
    ASSERT_EQ(page.exitCode, 0) << page.err.toStdString();
    EXPECT_EQ(page.err, QString()) << page.err.toStdString();
    const QString text = Plain(page.out);
    EXPECT_TRUE(text.contains(QStringLiteral("NAME\n       %1 - ").arg(QString::fromLatin1(GetParam()))))
        << text.left(400).toStdString();
    // The package's manual, not the build folder's.
    EXPECT_TRUE(text.contains(QStringLiteral("/share/doc/tavel-nfc/manual/index.html"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral(TAVEL_BIN_DIR))) << text.toStdString();

    const CliRun help = RunWithoutDisplay(Program(GetParam()), {QStringLiteral("--help")});
    ASSERT_EQ(help.exitCode, 0);
    const QSet<QString> options = ListedOptions(help.out);
    if (QLatin1String(GetParam()) != QLatin1String("tavel-nfc")) { // its options are its commands'
        EXPECT_FALSE(options.isEmpty());
    }
    for (const QString &option : options)
        EXPECT_TRUE(text.contains(option)) << option.toStdString() << " is missing from the page";
}

INSTANTIATE_TEST_SUITE_P(Programs, ManPageTest, ::testing::Values("tavel-nfc", "tavel-nfc-config", "tavel-devsim"),
                         [](const auto &info) {
                             QString name = QString::fromLatin1(info.param);
                             return name.remove(QLatin1Char('-')).toStdString();
                         });

// The command line's page has a section per command with that command's own
// help, options included, and the exit statuses.
TEST(CommandLineManPageTest, EveryCommandWithItsOptionsAndTheExitStatuses)
{
    const CliRun page = RenderManPage("tavel-nfc");
    ASSERT_EQ(page.exitCode, 0);
    const QString text = Plain(page.out);
    const CliRun help = RunWithoutDisplay(Program("tavel-nfc"), {QStringLiteral("--help")});
    const QRegularExpression command(QStringLiteral("^  ([a-z][a-z0-9-]*) "), QRegularExpression::MultilineOption);
    int commands = 0;
    for (auto it = command.globalMatch(help.out.section(QStringLiteral("commands:\n"), 1).section(QStringLiteral("\n\n"), 0, 0));
         it.hasNext();) {
        const QString name = it.next().captured(1);
        ++commands;
        EXPECT_TRUE(text.contains(QStringLiteral("\n   tavel-nfc ") + name + QLatin1Char('\n'))) << name.toStdString();
        const CliRun own = RunWithoutDisplay(Program("tavel-nfc"), {name, QStringLiteral("--help")});
        for (const QString &option : ListedOptions(own.out))
            EXPECT_TRUE(text.contains(option)) << name.toStdString() << ' ' << option.toStdString();
        // Its usage line, as the command prints it.
        const QString usage = own.out.section(QLatin1Char('\n'), 0, 0).simplified();
        EXPECT_TRUE(text.simplified().contains(usage)) << usage.toStdString();
    }
    EXPECT_GE(commands, 10) << help.out.toStdString();
    for (const char *status : {"0 done", "2 usage error", "3 done, but records are kept pending"})
        EXPECT_TRUE(text.simplified().contains(QLatin1String(status))) << status;
}

} // namespace
