// Runs every file of fuzz/corpus/<target>/ through its target, so the corpora (and
// every earlier finding kept there) are checked by the sanitizer build of the tests
// without libFuzzer. A crash or sanitizer report ends the program; a target without
// corpus files counts as a failure.
//
// usage: fuzz_replay CORPUS_FOLDER [TARGET]     (TARGET: that target only)

#include "fuzz_targets.h"

#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: fuzz_replay CORPUS_FOLDER [TARGET]\n");
        return 2;
    }
    const QDir corpus(QString::fromLocal8Bit(argv[1]));
    const QByteArray only = argc == 3 ? QByteArray(argv[2]) : QByteArray();
    int passed = 0, failed = 0, chosen = 0;
    for (const FuzzTarget &target : kFuzzTargets) {
        if (!only.isEmpty() && only != target.name)
            continue;
        ++chosen;
        const QDir folder(corpus.filePath(QString::fromLatin1(target.name)));
        const QStringList files = folder.entryList(QDir::Files, QDir::Name);
        if (files.isEmpty()) {
            std::fprintf(stderr, "%s: no corpus files in %s\n", target.name, folder.path().toUtf8().constData());
            ++failed;
            continue;
        }
        for (const QString &name : files) {
            QFile f(folder.filePath(name));
            if (!f.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "%s: cannot read %s\n", target.name, name.toUtf8().constData());
                ++failed;
                continue;
            }
            const QByteArray bytes = f.readAll();
            target.run(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
        }
        std::printf("%s: %lld corpus files replayed\n", target.name, static_cast<long long>(files.size()));
        ++passed;
    }
    if (chosen == 0) {
        std::fprintf(stderr, "fuzz_replay: no target named %s\n", only.constData());
        return 2;
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
