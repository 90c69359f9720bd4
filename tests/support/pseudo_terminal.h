#pragma once
// A pseudo-terminal for a program a test runs: give deviceName() as the
// program's standard error (CliRunOptions::standardErrorFile) and read what the
// program drew on the "terminal" after it ended.

#include <QByteArray>
#include <QString>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

class PseudoTerminal {
public:
    PseudoTerminal()
    {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0)
            name_ = QString::fromLocal8Bit(ptsname(master_));
    }
    ~PseudoTerminal()
    {
        if (master_ >= 0)
            close(master_);
    }
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    // Empty when no pseudo-terminal could be made.
    QString deviceName() const { return name_; }
    // Everything written so far (the program has ended; a short wait for the last bytes).
    QByteArray readAll()
    {
        QByteArray out;
        pollfd p{master_, POLLIN, 0};
        char buf[4096];
        while (poll(&p, 1, 500) > 0 && (p.revents & POLLIN)) {
            const ssize_t n = read(master_, buf, sizeof buf);
            if (n <= 0)
                break;
            out.append(buf, n);
        }
        return out;
    }

private:
    int master_ = -1;
    QString name_;
};
