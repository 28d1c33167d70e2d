// The data-file reader on any file, and line packing on any line: the reader ends, never
// reads past the file, keeps at most what packing uses of a line, and a written record
// packs back into the frame it came from.
#include "check.h"
#include "transfer/datafile.h"

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <unistd.h>

namespace {

QString scratchPath()
{
    // Memory-backed where there is such a folder: the target writes a file per input.
    static const QString folder = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static const QString path = folder + QStringLiteral("/orvik-fuzz-datafile-%1.dat").arg(getpid());
    return path;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // Packing one line: bytes the line does not reach keep what they held, ID and checksum
    // are never touched.
    CommandFrame frame{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77};
    transfer::packLine(bytes, frame);
    check(frame[5] == 0x66 && frame[6] == 0x77);

    QFile f(scratchPath());
    check(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    check(f.write(bytes) == bytes.size());
    f.close();

    transfer::DataFileReader reader;
    check(reader.open(scratchPath()));
    check(reader.size() == qsizetype(size));
    CommandFrame played{};
    int lines = 0;
    qint64 last = 0;
    while (reader.make_frec(played) == 1) {
        ++lines;
        check(reader.position() > last && reader.position() <= reader.size());
        check(reader.line().size() <= 32);
        check(played[5] == 0 && played[6] == 0);
        last = reader.position();
        check(lines <= int(size));
    }
    check(reader.lineNumber() <= lines + 1);
    reader.close();
    reader.close();
    check(reader.make_frec(played) == 0);

    const transfer::FileCheck result = transfer::checkDataFile(scratchPath(), CommandFrame{});
    check(result.line >= 0 && result.line <= int(size) + 1);
    (void)result.describe(QStringLiteral("x.dat"));

    // A written record packs back into its request.
    if (size >= 5) {
        const uint8_t category = data[0];
        const auto address = uint16_t(data[1] << 8 | data[2]);
        const auto word = uint16_t(data[3] << 8 | data[4]);
        const QByteArray line = transfer::recordLine(category, address, word);
        check(line.size() == 12 && line.endsWith("\r\n"));
        CommandFrame back{};
        transfer::packLine(line, back);
        check(back[0] == category && back[1] == data[1] && back[2] == data[2] && back[3] == data[3]
              && back[4] == data[4]);
    }
    return 0;
}
