#pragma once
// Runs the command-line companion build/bin/tavel-nfc as a program and collects
// its exit code and both output streams. Building every target builds it
// together with the test programs; building only a test program does not.

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

struct CliRun {
    int exitCode = -1; // -1 when the program crashed or did not finish
    QString out;
    QString err;
};

struct CliRunOptions {
    QString workingDirectory;  // empty: the test program's own
    QStringList environment;   // "NAME=value" entries added to the test program's environment
    int timeoutMs = 30000;
    QString standardErrorFile = QString(); // standard error goes to this file (a terminal) instead of `err`
};

inline QString TavelNfcProgram() { return QStringLiteral(TAVEL_BIN_DIR "/tavel-nfc"); }

// For a fixture's SetUp: ASSERT_TRUE(TavelNfcIsBuilt());
inline ::testing::AssertionResult TavelNfcIsBuilt()
{
    if (QFileInfo(TavelNfcProgram()).isExecutable())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << TavelNfcProgram().toStdString()
                                         << " is not built; build every target (ninja -C build) before the tests";
}

// The environment entries that keep what a run writes (records, settings) below `folder`.
inline QStringList DataHomeEnvironment(const QString &folder)
{
    return {QStringLiteral("XDG_DATA_HOME=") + folder, QStringLiteral("XDG_CONFIG_HOME=") + folder,
            QStringLiteral("APPDATA=") + folder};
}

// Runs `program` with `args`. A run that does not finish in time is killed and
// reported as a test failure.
inline CliRun RunProgram(const QString &program, const QStringList &args, const CliRunOptions &options = {})
{
    QProcess p;
    if (!options.workingDirectory.isEmpty())
        p.setWorkingDirectory(options.workingDirectory);
    if (!options.environment.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &entry : options.environment) {
            const qsizetype eq = entry.indexOf(QLatin1Char('='));
            env.insert(entry.left(eq), entry.mid(eq + 1));
        }
        p.setProcessEnvironment(env);
    }
    if (!options.standardErrorFile.isEmpty())
        p.setStandardErrorFile(options.standardErrorFile);
    p.start(program, args);
    CliRun r;
    if (!p.waitForFinished(options.timeoutMs)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << QFileInfo(program).fileName().toStdString() << " "
                      << args.join(QLatin1Char(' ')).toStdString() << " did not finish";
        r.err = QStringLiteral("<did not finish>");
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

inline CliRun RunTavelNfc(const QStringList &args, const CliRunOptions &options = {})
{
    return RunProgram(TavelNfcProgram(), args, options);
}

// A fixture that runs tavel-nfc in a temporary folder of its own.
class TavelNfcTest : public ::testing::Test {
protected:
    QTemporaryDir dir;

    void SetUp() override { ASSERT_TRUE(TavelNfcIsBuilt()); }

    CliRun run(const QStringList &args)
    {
        CliRunOptions options;
        options.workingDirectory = dir.path();
        return RunTavelNfc(args, options);
    }
};
