#include "records/durable_file.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

bool SyncToDisk(QFile &file)
{
    if (!file.flush())
        return false;
    const int fd = file.handle();
    if (fd < 0)
        return false;
    // Qt has no call of its own for this; the one place with a system call.
#ifdef Q_OS_WIN
    return _commit(fd) == 0;
#else
    return ::fsync(fd) == 0;
#endif
}
