#pragma once
// While the object lives, no file this process writes may grow beyond `bytes`:
// a write past the limit fails instead of ending the program with SIGXFSZ.
// For tests of writes that fail part of the way through (POSIX only).

#include <csignal>
#include <sys/resource.h>

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        if (getrlimit(RLIMIT_FSIZE, &saved_) != 0)
            return;
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = saved_;
        small.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
        if (!active_)
            std::signal(SIGXFSZ, oldHandler_);
    }
    ~FileSizeLimit() { lift(); }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool active() const { return active_; }
    // Restores the limit and the signal handling from before.
    void lift()
    {
        if (!active_)
            return;
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
        active_ = false;
    }

private:
    struct rlimit saved_ {};
    void (*oldHandler_)(int) = SIG_DFL;
    bool active_ = false;
};
