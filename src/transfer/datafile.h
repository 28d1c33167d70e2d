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
};

} // namespace transfer
