// The frame trace: every request sent, every reply, every run of stray bytes and every frame
// the receiver dropped, with its time, the line it crossed and what it meant. A bounded ring,
// so a long session never grows without end; a table model for a view.
#pragma once

#include "link/frame.h"

#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <vector>

class Dispatcher;
class Link;

namespace trace {

enum class Kind : uint8_t {
    Sent,          // a request written to the line
    Received,      // a good reply
    ErrorReply,    // a good frame whose category marks an error reply
    BadChecksum,   // seven bytes whose sum is not 0: dropped by the receiver
    Stray,         // bytes outside any frame
    Undelivered,   // a good reply no page's decoder took
    Dropped,       // bytes dropped while frames waited their turn
    Error,         // a serial error (shown once, recorded each time it happened)
};

struct Entry
{
    qint64 ms = 0;            // since the trace started
    Kind kind = Kind::Sent;
    int32_t baud = 0;         // the line as it was then
    uint8_t stopBits = 1;
    QByteArray bytes;         // the frame's seven bytes, or the stray run
    int roundTripMs = -1;     // replies: since the request went out
    QString note;             // errors: the message
};

// The category's subject, for a one-line meaning: "exposure", "lens", "EEPROM 1 write"...
QString categoryName(uint8_t category);
// One line of what an entry meant, e.g. "lens: read 00", "other: write 80 (error reply)".
QString meaning(const Entry &e);
// An entry as one text line (tab separated) and as one CSV line.
QString textLine(const Entry &e);
QString csvLine(const Entry &e);
QString csvHeader();

class TraceLog : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Time, Direction, Line, Bytes, RoundTrip, Meaning, ColumnCount };

    explicit TraceLog(int capacity = 100000, QObject *parent = nullptr);
    ~TraceLog() override;

    // Records what the link and the dispatch signal from now on.
    void attach(Link &link, Dispatcher *dispatch = nullptr);
    // Also writes every entry, as a text line, to a file (flushed twice a second and when
    // the log goes). False with the reason when it cannot be opened.
    bool writeTo(const QString &path, QString *error = nullptr);

    void record(Kind kind, const QByteArray &bytes, const QString &note = {});
    void recordSent(const Frame7 &f) { record(Kind::Sent, bytesOf(f)); }
    void recordReply(const Frame7 &f);
    void clear();

    int capacity() const { return capacity_; }
    int count() const { return int(size_); }
    const Entry &at(int row) const { return ring_[(first_ + size_t(row)) % ring_.size()]; }
    // The whole log as text or CSV, oldest first.
    QString text(bool csv) const;
    bool save(const QString &path, bool csv, QString *error = nullptr) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    static QByteArray bytesOf(const Frame7 &f)
    {
        return QByteArray(reinterpret_cast<const char *>(f.data()), int(f.size()));
    }

    Link *link_ = nullptr;
    int capacity_;
    std::vector<Entry> ring_;
    size_t first_ = 0;
    size_t size_ = 0;
    QElapsedTimer clock_;
    qint64 lastSentMs_ = -1;
    QFile file_;
    QTimer flush_;
};

} // namespace trace
