// A playback: the lines of a data file sent one after the other as requests, each when the
// camera has answered the one before. One playback serves every page that plays files (each
// supplies its own progress bar, file-name panel and decoder), so there is one open file at a
// time. Widget-free: the page (or a command-line tool) chooses the file and shows what went
// wrong; the playback reads, checks and sends.
#pragma once

#include "link/frame.h"
#include "transfer/datafile.h"

#include <QObject>
#include <QString>

class Link;

namespace transfer {

class Playback : public QObject
{
    Q_OBJECT
public:
    explicit Playback(Link &link, QObject *parent = nullptr);

    enum class Start {
        Sending,      // the first line went out
        Empty,        // nothing to send (an empty file, or an empty first line)
        Busy,         // a request is outstanding: nothing was done
        OpenFailed,   // the file cannot be opened or read (check())
        Refused,      // the file is not a data file: nothing was sent (check())
    };
    // Starts playing the file for `owner` (the page whose bar follows it). Any playback still
    // open is closed first. Before the first line is sent the file is looked over up to the
    // line that would end it; a file holding a NUL byte, a byte above 0x7F, or a line that
    // cannot be a request is refused whole.
    Start start(const QString &path, const void *owner);

    enum class Step {
        Idle,         // no playback is running: the reply only freed the link
        Sent,         // the next line went out
        Ended,        // the end record went out: the playback is over, the link free
        EndOfFile,    // nothing more to send
        Refused,      // the camera refused the last line: nothing more is sent
        ReadFailed,   // the file could not be read on: nothing more is sent
    };
    // One reply while the playing page takes it.
    Step onReply(const ResponseFrame &r);

    // Closes the file; nothing more is sent. Idempotent.
    void stop();
    bool running() const { return reader_.isOpen(); }
    const void *owner() const { return owner_; }
    const QString &path() const { return path_; }
    // What the look over the file found (start() gave OpenFailed or Refused).
    const FileCheck &check() const { return check_; }
    const DataFileReader &reader() const { return reader_; }

    // The file last chosen to play, from whichever page chose it ('Same File Name').
    const QString &lastChosenFile() const { return lastChosen_; }
    void setLastChosenFile(const QString &path) { lastChosen_ = path; }

signals:
    // The progress bar of the owner: the file size when a playback starts, then the bytes
    // consumed after each line sent (0 again after the end record).
    void progressRange(int maximum);
    void progress(int position);

private:
    void sendLine();

    Link &link_;
    DataFileReader reader_;
    FileCheck check_;
    QString path_;
    QString lastChosen_;
    const void *owner_ = nullptr;
    bool sending_ = false;
};

} // namespace transfer
