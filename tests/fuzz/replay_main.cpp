// Runs a fuzz target over stored inputs, so that the ordinary suite checks its properties on
// every seed and every input that once failed, with any compiler and no fuzzing engine.
// Usage: replay_<target> <folder>...
#include <cstdio>
#include <QDirIterator>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char* argv[])
{
    int replayed = 0;
    for (int i = 1; i < argc; ++i)
        for (QDirIterator input(QString::fromLocal8Bit(argv[i]), QDir::Files); input.hasNext();) {
            QFile file(input.next());
            std::printf("%s\n", qPrintable(file.fileName()));
            std::fflush(stdout); // the name stays on record if the input aborts the run
            const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : "";
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            ++replayed;
        }
    std::printf("%d inputs replayed\n", replayed);
    return replayed == 0; // a corpus gone missing is no success
}
