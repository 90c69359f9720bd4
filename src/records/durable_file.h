#pragma once
// Making what was written to a file survive a power cut or a killed program:
// the data is handed to the disk, not only to the system's cache.

class QFile;

// Flushes `file`'s buffer and waits until the system has written its data to the
// disk. False when either step fails (the reason is then in file.errorString()
// or, for the sync, a general one).
bool SyncToDisk(QFile &file);
