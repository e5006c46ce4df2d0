// Runs fuzz inputs through a fuzz target without libFuzzer, for the test build (any compiler):
// every file named on the command line, and every file of every folder named, in name order.
// A fault shows as a sanitizer report and a failed run; the last input is named first.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    LLVMFuzzerInitialize(&argc, &argv);
    QStringList inputs;
    for (int i = 1; i < argc; ++i) {
        const QString path = QFile::decodeName(argv[i]);
        if (QFileInfo(path).isDir()) {
            const QDir folder(path);
            for (const QString& name : folder.entryList(QDir::Files, QDir::Name))
                inputs << folder.filePath(name);
        } else {
            inputs << path;
        }
    }
    for (const QString& path : inputs) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "replay: cannot read %s\n", qPrintable(path));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        std::fprintf(stderr, "replay: %s\n", qPrintable(path));
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               std::size_t(bytes.size()));
    }
    std::fprintf(stderr, "replay: %d inputs\n", int(inputs.size()));
    return inputs.isEmpty() ? 1 : 0;
}
