// A read-back of what a data file writes: every memory word a line of the file writes is read
// from the camera again and compared with the file. Lines that write no memory word (a
// hand-made file may hold any request) are counted but not checked.
#pragma once

#include "link/frame.h"
#include "transfer/datafile.h"

#include <QList>
#include <QObject>
#include <QString>

#include <cstdint>

class Link;

namespace transfer {

// The read request that reads back the word a write request of this category writes; 0 when
// the category writes no memory word.
uint8_t readBackCategory(uint8_t writeCategory);

// One word the file writes.
struct WordCheck
{
    int line = 0;              // the file's line (from 1) that writes it last
    uint8_t readCategory = 0;
    int address = 0;
    uint16_t expected = 0;
};

// The words a file writes, read as a playback reads it: short lines keep what the line before
// left in the frame, and an end record after the first line ends it.
struct VerifyPlan
{
    FileCheck file;            // the playback's look over the file
    QList<WordCheck> checks;   // in file order; a word written twice counts once, with its last value
    int unchecked = 0;         // lines that write no memory word (the end record not counted)
};
VerifyPlan planVerify(const QString &path, CommandFrame frame = {});

class Verify : public QObject
{
    Q_OBJECT
public:
    explicit Verify(Link &link, QObject *parent = nullptr);

    enum class Start {
        Reading,      // the first read went out
        Nothing,      // the file writes no memory word
        Busy,         // a request is outstanding: nothing was done
        OpenFailed,   // the file cannot be opened or read (plan().file)
        Refused,      // the file is not a data file (plan().file)
    };
    Start start(const QString &path);

    enum class Step {
        Idle,         // no read-back is running: the reply only freed the link
        Reading,      // the next word was asked for
        Done,         // every word was read (mismatches() holds those that differ)
        Refused,      // the camera refused the read of current()
        Stopped,      // the reply answered another request than current()
    };
    Step onReply(const ResponseFrame &r);

    struct Mismatch
    {
        WordCheck check;
        uint16_t actual = 0;
    };
    bool running() const { return running_; }
    const VerifyPlan &plan() const { return plan_; }
    const QList<Mismatch> &mismatches() const { return mismatches_; }
    // The word being read (or the last one read).
    const WordCheck &current() const { return plan_.checks.at(next_); }
    int compared() const { return compared_; }

signals:
    void progressRange(int maximum);
    // The number of words compared so far.
    void progress(int position);

private:
    void read();

    Link &link_;
    VerifyPlan plan_;
    QList<Mismatch> mismatches_;
    qsizetype next_ = 0;
    int compared_ = 0;
    bool running_ = false;
};

} // namespace transfer
