// A read-out: one memory of the camera, word by word, into a data file. Each reply stores
// its word and sends the read of the next address; after the last address the file is
// written, with the write request that puts each word back. Widget-free: the page (or a
// command-line tool) chooses the file, asks about overwriting and shows what went wrong.
#pragma once

#include "link/categories.h"
#include "link/frame.h"
#include "transfer/table.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

class Link;

namespace transfer {

// One memory a read-out copies.
struct Memory
{
    uint8_t readCategory;     // the read request of every address
    uint8_t recordCategory;   // the write request each record of the file holds
    int lastAddress;          // addresses 0..lastAddress are read
    int lastRecord;           // records 0..lastRecord are written
    // The address travels as an index in the item alone; data 1 carries an option.
    bool indexed;
};

// EEPROM 1: the word at 0x3FF (the firmware version) is read but never written to the file.
inline constexpr Memory Eeprom1{cat::Eeprom1Read, cat::Eeprom1Write, 0x3FF, 0x3FE, false};
inline constexpr Memory Eeprom2{cat::Eeprom2Read, cat::Eeprom2Write, 0x3FF, 0x3FE, false};
inline constexpr Memory DspEeprom{cat::DspEepromRead, cat::DspEepromWrite, 0xFF, 0xFF, false};
// The register values the camera sends for a DSP EEPROM file ('default' or running, by the
// option), stored as DSP EEPROM write records.
inline constexpr Memory DspSend{cat::DspSendRead, cat::DspEepromWrite, 0xFF, 0xFF, true};

class ReadOut : public QObject
{
    Q_OBJECT
public:
    explicit ReadOut(Link &link, QObject *parent = nullptr);

    // Starts reading `memory` for the file at `path`: every table entry unread, then the read
    // of address 0. `option` gives data 1 of each request of an indexed memory, asked anew
    // for every request. False, with nothing sent, while a request is outstanding.
    bool start(const Memory &memory, const QString &path, std::function<uint8_t()> option = {});

    enum class Step {
        Idle,          // no read-out is running: the reply only freed the link
        Reading,       // the next address was asked for
        Written,       // the last word came in and the file is written
        WriteFailed,   // the last word came in but the file could not be written (error())
        Incomplete,    // the read-out ended without its file: an address beyond the memory
                       // answered, or a word was never read
        Stopped,       // a reply of another category: nothing more is sent, the link stays busy
    };
    // One reply while the read-out's page takes it.
    Step onReply(const ResponseFrame &r);

    bool running() const { return running_; }
    const Memory &memory() const { return memory_; }
    const QString &path() const { return path_; }
    const QString &error() const { return error_; }
    const TransferTable &table() const { return table_; }

signals:
    // The progress bar: the number of addresses when a read-out starts, then the address of
    // every reply.
    void progressRange(int maximum);
    void progress(int position);

private:
    void read(int address);
    Step finish();

    Link &link_;
    Memory memory_ = Eeprom1;
    QString path_;
    QString error_;
    std::function<uint8_t()> option_;
    TransferTable table_;
    bool running_ = false;
};

} // namespace transfer
