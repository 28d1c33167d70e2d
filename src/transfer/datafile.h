// Data files (".dat"): one request frame per line as ten hexadecimal digits and CR LF
// (category, item, data 1-3; no camera ID, no checksum), ending with the reset record
// 8F00000000. A read-out writes, for every address it read, the write request that puts
// the word back; a playback sends the lines one after the other.
#pragma once

#include "link/frame.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace transfer {

// One record line: "920012ABCD\r\n".
QByteArray recordLine(uint8_t category, uint16_t address, uint16_t word);
// The end record line "8F00000000\r\n".
QByteArray endRecordLine();

// Packs the hexadecimal digits at the start of a line into bytes 0-4 of a frame, one
// nibble after the other (an even count fills the high half of the next byte and clears
// its low half, an odd one the low half of the same byte). The first character that is not
// a hex digit ends the packing; only the first ten digits count. Bytes the line does not
// reach keep what they held.
void packLine(const QByteArray &line, CommandFrame &frame);

// Reads a data file line by line for a playback.
class DataFileReader
{
public:
    DataFileReader() = default;
    DataFileReader(const DataFileReader &) = delete;
    DataFileReader &operator=(const DataFileReader &) = delete;

    // Opens the file and takes its size once; false with the file's error when it cannot
    // be opened.
    bool open(const QString &path, QString *error = nullptr);
    bool isOpen() const { return file_.isOpen(); }
    // Idempotent.
    void close();

    qint64 size() const { return size_; }
    // Bytes consumed so far.
    qint64 position() const { return position_; }
    // The text of the current line, as far as packing can use it.
    const QByteArray &line() const { return line_; }
    // A read failed other than at the file's end.
    bool failed() const { return failed_; }
    // Lines read so far (each make_frec that consumed bytes).
    int lineNumber() const { return lineNumber_; }
    // The last line read held a NUL byte or a byte above 0x7F: no data file does.
    bool lineHoldsNonText() const { return nonText_; }

    // Reads the next line (up to its LF, which is consumed but not kept; a CR stays in the
    // line) and packs it into the frame. 1 when a line was read, 0 when nothing was: the
    // end of the file (the file is closed), a line that holds nothing before its LF, or no
    // file open. A last line without LF loses its last character.
    int make_frec(CommandFrame &frame);

private:
    std::optional<char> readByte();

    QFile file_;
    qint64 size_ = 0;
    qint64 position_ = 0;
    QByteArray line_;
    bool failed_ = false;
    int lineNumber_ = 0;
    bool nonText_ = false;
};

// What a look over a data file before its playback found, up to the line that ends the
// playback (an end record after the first line, a line empty before its LF, or the end).
struct FileCheck
{
    enum class Result {
        Sendable,
        OpenFailed,    // the file cannot be opened
        ReadFailed,    // reading it failed before its end
        NotText,       // a line holds a NUL byte or a byte above 0x7F
        NotARequest,   // a line's first byte lacks bit 7: it cannot be a request
    };
    Result result = Result::Sendable;
    int line = 0;              // the first bad line, from 1
    uint8_t firstByte = 0;     // NotARequest: the byte that line packs into the category
    QString error;             // OpenFailed, ReadFailed: why

    bool sendable() const { return result == Result::Sendable; }
    // One sentence for the user, naming the file and the line.
    QString describe(const QString &fileName) const;
};

// Reads the file as a playback would, packing each line into a copy of `frame` (the request
// buffer as it stands, since a short line keeps what the previous request left there).
FileCheck checkDataFile(const QString &path, CommandFrame frame);

} // namespace transfer
