// Runs a harness once over every file of the folders (or files) named on the command
// line, so that the committed corpora, crashers included, are replayed by the normal
// test build without libFuzzer.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

// The same per-allocation ceiling as the fuzzing runs (-malloc_limit_mb=64): under
// AddressSanitizer an allocation sized by a count read from the input fails the run.
extern "C" const char *__asan_default_options()
{
    return "max_allocation_size_mb=64:allocator_may_return_null=0";
}

namespace {

QStringList inputFiles(const QString &argument)
{
    const QFileInfo info(argument);
    if (!info.isDir())
        return {argument};
    QStringList files;
    const QDir dir(argument);
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
        files << dir.filePath(name);
    return files;
}

}   // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <corpus folder or file>...\n", argv[0]);
        return 2;
    }
    int runs = 0;
    for (int i = 1; i < argc; ++i) {
        for (const QString &path : inputFiles(QString::fromLocal8Bit(argv[i]))) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
                return 1;
            }
            const QByteArray bytes = file.readAll();
            // Named before it runs, so a crash points at its input.
            std::fprintf(stderr, "input %s (%lld bytes)\n", qPrintable(path), static_cast<long long>(bytes.size()));
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
            ++runs;
        }
    }
    // An empty or misnamed corpus folder would otherwise pass without testing anything.
    if (runs == 0) {
        std::fprintf(stderr, "no inputs found\n");
        return 1;
    }
    std::printf("%d inputs ran\n", runs);
    return 0;
}
