#include "transfer/datafile.h"

#include "link/categories.h"
#include "link/convert.h"

namespace transfer {

namespace {
// Packing uses ten digits; a line keeps a little more so a trace can show what it held.
constexpr qsizetype lineKeep = 32;
} // namespace

QByteArray recordLine(uint8_t category, uint16_t address, uint16_t word)
{
    const uint8_t bytes[5] = {category, uint8_t(address >> 8), uint8_t(address), uint8_t(word >> 8), uint8_t(word)};
    QByteArray line(12, '\0');
    for (int i = 0; i < 5; ++i)
        conv::byteToHexChars(bytes[i], line.data() + 2 * i);
    line[10] = '\r';
    line[11] = '\n';
    return line;
}

QByteArray endRecordLine()
{
    return recordLine(cat::Reset, 0, 0);
}

void packLine(const QByteArray &line, CommandFrame &frame)
{
    int nibble = 0;
    for (char c : line) {
        const int v = conv::hexCharValue(QChar::fromLatin1(c));
        if (v < 0 || nibble >= 10)
            break;
        uint8_t &b = frame[size_t(nibble / 2)];
        b = (nibble % 2 == 0) ? uint8_t(v << 4) : uint8_t((b & 0xF0) | v);
        ++nibble;
    }
}

bool DataFileReader::open(const QString &path, QString *error)
{
    close();
    file_.setFileName(path);
    failed_ = false;
    position_ = 0;
    lineNumber_ = 0;
    nonText_ = false;
    line_.clear();
    if (!file_.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file_.errorString();
        return false;
    }
    size_ = file_.size();
    return true;
}

void DataFileReader::close()
{
    if (file_.isOpen())
        file_.close();
}

std::optional<char> DataFileReader::readByte()
{
    char c = 0;
    if (!file_.getChar(&c)) {
        failed_ = true;
        return std::nullopt;
    }
    ++position_;
    const auto u = uint8_t(c);
    if (u == 0 || u > 0x7F)
        nonText_ = true;
    return c;
}

int DataFileReader::make_frec(CommandFrame &frame)
{
    line_.clear();
    nonText_ = false;
    if (!file_.isOpen())
        return 0;
    if (position_ >= size_) {
        close();
        return 0;
    }
    ++lineNumber_;
    int result = 0;
    std::optional<char> b = readByte();
    while (b && *b != '\n') {
        if (position_ >= size_)
            break;
        if (line_.size() < lineKeep)
            line_.append(*b);
        b = readByte();
        result = 1;
    }
    if (!b) {
        close();
        return 0;
    }
    if (result == 1)
        packLine(line_, frame);
    return result;
}

FileCheck checkDataFile(const QString &path, CommandFrame frame)
{
    FileCheck check;
    DataFileReader reader;
    if (!reader.open(path, &check.error)) {
        check.result = FileCheck::Result::OpenFailed;
        return check;
    }
    // The first line is sent whatever it holds; from the second on an end record ends.
    for (bool first = true;; first = false) {
        const int got = reader.make_frec(frame);
        if (reader.failed()) {
            check.result = FileCheck::Result::ReadFailed;
            check.line = reader.lineNumber();
            check.error = QStringLiteral("reading stopped before the end of the file");
            return check;
        }
        if (got == 0)
            return check;
        if (reader.lineHoldsNonText()) {
            check.result = FileCheck::Result::NotText;
            check.line = reader.lineNumber();
            return check;
        }
        if (!(frame[0] & 0x80)) {
            check.result = FileCheck::Result::NotARequest;
            check.line = reader.lineNumber();
            check.firstByte = frame[0];
            return check;
        }
        if (!first && frame[0] == cat::Reset)
            return check;
    }
}

QString FileCheck::describe(const QString &fileName) const
{
    switch (result) {
    case Result::Sendable:
        break;
    case Result::OpenFailed:
        return QStringLiteral("%1 cannot be opened: %2").arg(fileName, error);
    case Result::ReadFailed:
        return QStringLiteral("%1 cannot be read: %2").arg(fileName, error);
    case Result::NotText:
        return QStringLiteral("%1 is not a data file: line %2 holds a byte that is not plain text. "
                              "Nothing was sent.").arg(fileName).arg(line);
    case Result::NotARequest:
        return QStringLiteral("%1 is not a data file: line %2 is not a request (its first byte would be "
                              "%3, a request starts at 80). Nothing was sent.")
            .arg(fileName).arg(line).arg(conv::byteToHex(firstByte));
    }
    return {};
}

} // namespace transfer
