#pragma once
// tavel-devsim (the simulated stick, programmer and bootloader) started for the
// lifetime of the object: the pseudo-terminals it announces and the lines it
// reports, read from its standard output.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

#include "wait_for.h"

// The simulator is built on POSIX systems only.
#ifdef Q_OS_UNIX
constexpr bool kHaveDevsim = true;
#else
constexpr bool kHaveDevsim = false;
#endif

// The test programs find it in the build's bin folder, the benchmarks beside themselves.
inline QString DevsimProgram()
{
#ifdef TAVEL_BIN_DIR
    return QStringLiteral(TAVEL_BIN_DIR "/tavel-devsim");
#else
    return QCoreApplication::applicationDirPath() + QStringLiteral("/tavel-devsim");
#endif
}

class DevsimProcess {
public:
    explicit DevsimProcess(const QStringList &args = {}, const QString &program = DevsimProgram())
        : program_(program), args_(args)
    {
        if (!QFileInfo::exists(program))
            return;
        process_.start(program, args);
        started_ = process_.waitForStarted(kWaitLimitMs);
        // It announces its pseudo-terminals ("pty PATH", "bootloader PATH"), then "ready".
        if (started_)
            waitForOutput(QStringLiteral("\nready"));
        for (const QString &line : output_.split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("pty /")))
                pty_ = line.mid(4);
            else if (line.startsWith(QLatin1String("bootloader /")))
                bootloaderPty_ = line.mid(11);
        }
    }
    ~DevsimProcess() { stop(); }
    DevsimProcess(const DevsimProcess &) = delete;
    DevsimProcess &operator=(const DevsimProcess &) = delete;

    // Empty when the simulator runs with every port its options ask for.
    QString error() const
    {
        if (!QFileInfo::exists(program_))
            return QStringLiteral("tavel-devsim is not built: ") + program_;
        if (!started_)
            return QStringLiteral("tavel-devsim did not start");
        if (pty_.isEmpty())
            return QStringLiteral("tavel-devsim did not open its port");
        if (args_.contains(QLatin1String("--bootloader")) && bootloaderPty_.isEmpty())
            return QStringLiteral("tavel-devsim did not open its bootloader port");
        return {};
    }
    bool ready() const { return error().isEmpty(); }
    QString pty() const { return pty_; }
    QString bootloaderPty() const { return bootloaderPty_; }

    // Everything written so far.
    QString output()
    {
        QElapsedTimer t;
        t.start();
        do
            output_ += QString::fromUtf8(process_.readAllStandardOutput());
        while (process_.waitForReadyRead(100) && t.elapsed() < 5000);
        return output_;
    }
    // Reads its output until it contains `text` (true) or the simulator ended or
    // the limit passed (false). The limit is generous: the wait ends at the text.
    bool waitForOutput(const QString &text, int limitMs = kWaitLimitMs)
    {
        QElapsedTimer t;
        t.start();
        output_ += QString::fromUtf8(process_.readAllStandardOutput());
        while (!output_.contains(text) && t.elapsed() < limitMs && process_.state() != QProcess::NotRunning) {
            process_.waitForReadyRead(100);
            output_ += QString::fromUtf8(process_.readAllStandardOutput());
        }
        return output_.contains(text);
    }
    // Every line written so far.
    QStringList lines() { return output().split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
    // The packets received from the system, as "55 00 ..." texts.
    QStringList received()
    {
        QStringList out;
        for (const QString &l : lines())
            if (l.startsWith(QLatin1String("rx ")))
                out << l.mid(3);
        return out;
    }
    bool running() const { return process_.state() == QProcess::Running; }

    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(2000);
        }
    }

private:
    QString program_;
    QStringList args_;
    QProcess process_;
    QString output_;
    QString pty_;
    QString bootloaderPty_;
    bool started_ = false;
};
