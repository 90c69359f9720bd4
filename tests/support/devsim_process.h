#pragma once
// tavel-devsim started for one test: its pseudo-terminal path and the packets it
// received, read from its standard output.

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QThread>

// The simulator is built on POSIX systems only.
#ifdef Q_OS_UNIX
constexpr bool kHaveDevsim = true;
#else
constexpr bool kHaveDevsim = false;
#endif

class DevsimProcess {
public:
    explicit DevsimProcess(const QStringList &args = {})
    {
        process_.setProgram(QStringLiteral(TAVEL_BIN_DIR "/tavel-devsim"));
        process_.setArguments(args);
        process_.start();
        started_ = process_.waitForStarted(5000);
        QElapsedTimer t;
        t.start();
        while (started_ && !output_.contains(QLatin1String("\nready")) && t.elapsed() < 5000) {
            process_.waitForReadyRead(100);
            output_ += QString::fromUtf8(process_.readAllStandardOutput());
        }
        for (const QString &line : output_.split(QLatin1Char('\n')))
            if (line.startsWith(QLatin1String("pty ")))
                pty_ = line.mid(4);
    }
    ~DevsimProcess()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(2000)) {
                process_.kill();
                process_.waitForFinished(2000);
            }
        }
    }
    bool ready() const { return started_ && !pty_.isEmpty(); }
    QString pty() const { return pty_; }
    // Every line written so far.
    QStringList lines()
    {
        do
            output_ += QString::fromUtf8(process_.readAllStandardOutput());
        while (process_.waitForReadyRead(100));
        return output_.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
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

private:
    QProcess process_;
    QString output_;
    QString pty_;
    bool started_ = false;
};
