#include "link/trace.h"

#include "link/categories.h"
#include "link/convert.h"
#include "link/dispatch.h"
#include "link/link.h"
#include "serial/tcomm.h"

#include <QSaveFile>

namespace trace {

QString categoryName(uint8_t category)
{
    switch (uint8_t(category & ~cat::ErrorBits)) {
    case cat::Title: return QStringLiteral("title");
    case cat::Exposure: return QStringLiteral("exposure");
    case cat::Colour: return QStringLiteral("colour");
    case cat::Lens: return QStringLiteral("lens");
    case cat::Preset: return QStringLiteral("preset");
    case cat::Motion: return QStringLiteral("motion");
    case cat::Other: return QStringLiteral("other");
    case cat::Mask: return QStringLiteral("mask");
    case cat::Comm: return QStringLiteral("communication");
    case cat::Marker: return QStringLiteral("marker");
    case cat::Reset: return QStringLiteral("reset");
    case cat::Eeprom1Read: return QStringLiteral("EEPROM 1 read");
    case cat::Eeprom1RamRead: return QStringLiteral("EEPROM 1 RAM read");
    case cat::Eeprom1Write: return QStringLiteral("EEPROM 1 write");
    case cat::Eeprom1RamWrite: return QStringLiteral("EEPROM 1 RAM write");
    case cat::DspRead: return QStringLiteral("DSP read");
    case cat::DspReadStored: return QStringLiteral("DSP stored read");
    case cat::DspWrite: return QStringLiteral("DSP write");
    case cat::DspWriteStored: return QStringLiteral("DSP stored write");
    case cat::RamRead: return QStringLiteral("RAM read");
    case cat::Defect: return QStringLiteral("pixel defect");
    case cat::Eeprom2Read: return QStringLiteral("EEPROM 2 read");
    case cat::Eeprom2Write: return QStringLiteral("EEPROM 2 write");
    case cat::DspEepromRead: return QStringLiteral("DSP EEPROM read");
    case cat::DspEepromWrite: return QStringLiteral("DSP EEPROM write");
    case cat::DspSendRead: return QStringLiteral("DSP send read");
    default: return QStringLiteral("category %1").arg(conv::byteToHex(category));
    }
}

namespace {

QString hexOf(const QByteArray &bytes)
{
    if (bytes.size() == 7) {
        Frame7 f{};
        std::copy(bytes.begin(), bytes.end(), f.begin());
        return frameText(f);
    }
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString frameMeaning(const QByteArray &b)
{
    if (b.size() < 2)
        return {};
    const auto category = uint8_t(b[0]);
    const auto item = uint8_t(b[1]);
    // Memories and registers carry an address or register in the item: no read/write there.
    const bool plainItem = uint8_t(category & ~cat::ErrorBits) < cat::Eeprom1Read;
    QString s = categoryName(category) + QStringLiteral(": ");
    if (plainItem)
        s += (item & 0x80) ? QStringLiteral("write ") : QStringLiteral("read ");
    s += conv::byteToHex(item);
    return s;
}

QString direction(Kind k)
{
    switch (k) {
    case Kind::Sent: return QStringLiteral("->");
    case Kind::Dropped:
    case Kind::Error: return QStringLiteral("--");
    default: return QStringLiteral("<-");
    }
}

QString lineOf(const Entry &e)
{
    return QStringLiteral("%1 %2").arg(e.baud).arg(e.stopBits == 2 ? QStringLiteral("2") : QStringLiteral("1"));
}

QString timeOf(const Entry &e)
{
    return QString::asprintf("%lld.%03lld", e.ms / 1000, e.ms % 1000);
}

QString roundTripOf(const Entry &e)
{
    return e.roundTripMs < 0 ? QString() : QString::number(e.roundTripMs);
}

QString csvField(const QString &s)
{
    if (!s.contains(u',') && !s.contains(u'"'))
        return s;
    QString q = s;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

} // namespace

QString meaning(const Entry &e)
{
    switch (e.kind) {
    case Kind::Sent:
    case Kind::Received:
        return frameMeaning(e.bytes);
    case Kind::ErrorReply:
        return frameMeaning(e.bytes) + QStringLiteral(" (error reply)");
    case Kind::BadChecksum:
        return QStringLiteral("bad checksum");
    case Kind::Stray:
        return QStringLiteral("stray bytes");
    case Kind::Undelivered:
        return frameMeaning(e.bytes) + QStringLiteral(" (no decoder)");
    case Kind::Dropped:
        return QStringLiteral("%1 bytes dropped while frames waited").arg(e.bytes.size());
    case Kind::Error:
        return QStringLiteral("error: ") + QString(e.note).replace(u'\n', QStringLiteral(" / "));
    }
    return {};
}

QString textLine(const Entry &e)
{
    return QStringList{timeOf(e), direction(e.kind), lineOf(e), hexOf(e.bytes), roundTripOf(e), meaning(e)}
        .join(u'\t');
}

QString csvHeader()
{
    return QStringLiteral("time_s,direction,baud,stop_bits,bytes,round_trip_ms,meaning");
}

QString csvLine(const Entry &e)
{
    return QStringList{timeOf(e), direction(e.kind), QString::number(e.baud), QString::number(e.stopBits),
                       hexOf(e.bytes), roundTripOf(e), csvField(meaning(e))}
        .join(u',');
}

// ---------------------------------------------------------------- TraceLog

TraceLog::TraceLog(int capacity, QObject *parent)
    : QAbstractTableModel(parent), capacity_(std::max(1, capacity))
{
    ring_.resize(size_t(capacity_));
    clock_.start();
    flush_.setInterval(500);
    connect(&flush_, &QTimer::timeout, this, [this] { file_.flush(); });
}

TraceLog::~TraceLog()
{
    if (file_.isOpen())
        file_.close();
}

void TraceLog::attach(Link &link, Dispatcher *dispatch)
{
    link_ = &link;
    connect(&link, &Link::frameSent, this, [this](const CommandFrame &f) { recordSent(f); });
    connect(&link, &Link::frameReceived, this, [this](const ResponseFrame &r) { recordReply(r.bytes); });
    connect(&link, &Link::strayBytes, this, [this](const QByteArray &run) { record(Kind::Stray, run); });
    connect(&link, &Link::badChecksum, this, [this](const Frame7 &f) { record(Kind::BadChecksum, bytesOf(f)); });
    connect(&link, &Link::bytesDropped, this, [this](const QByteArray &bytes) { record(Kind::Dropped, bytes); });
    connect(&link, &Link::errorRaised, this, [this](const QString &m) { record(Kind::Error, {}, m); });
    connect(&link, &Link::commError, this, [this](const QString &m) { record(Kind::Error, {}, m); });
    if (dispatch)
        connect(dispatch, &Dispatcher::undelivered, this,
                [this](const ResponseFrame &r) { record(Kind::Undelivered, bytesOf(r.bytes)); });
}

bool TraceLog::writeTo(const QString &path, QString *error)
{
    if (file_.isOpen())
        file_.close();
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        if (error)
            *error = file_.errorString();
        return false;
    }
    flush_.start();
    return true;
}

void TraceLog::recordReply(const Frame7 &f)
{
    record((f[0] & cat::ErrorBits) ? Kind::ErrorReply : Kind::Received, bytesOf(f));
}

void TraceLog::record(Kind kind, const QByteArray &bytes, const QString &note)
{
    Entry e;
    e.ms = clock_.elapsed();
    e.kind = kind;
    e.bytes = bytes;
    e.note = note;
    if (link_) {
        const TComm &comm = link_->comm();
        e.baud = comm.BaudRate();
        e.stopBits = comm.StopBits() == csb2 ? 2 : 1;
    }
    if (kind == Kind::Sent)
        lastSentMs_ = e.ms;
    else if ((kind == Kind::Received || kind == Kind::ErrorReply) && lastSentMs_ >= 0)
        e.roundTripMs = int(e.ms - lastSentMs_);

    if (size_ == ring_.size()) {
        // Full: the oldest row goes.
        beginRemoveRows({}, 0, 0);
        first_ = (first_ + 1) % ring_.size();
        --size_;
        endRemoveRows();
    }
    beginInsertRows({}, int(size_), int(size_));
    ring_[(first_ + size_) % ring_.size()] = std::move(e);
    ++size_;
    endInsertRows();
    if (file_.isOpen())
        file_.write((textLine(at(count() - 1)) + u'\n').toUtf8());
}

void TraceLog::clear()
{
    beginResetModel();
    first_ = 0;
    size_ = 0;
    endResetModel();
}

QString TraceLog::text(bool csv) const
{
    QString out;
    if (csv)
        out += csvHeader() + u'\n';
    for (int i = 0; i < count(); ++i)
        out += (csv ? csvLine(at(i)) : textLine(at(i))) + u'\n';
    return out;
}

bool TraceLog::save(const QString &path, bool csv, QString *error) const
{
    QSaveFile f(path);
    const QByteArray all = text(csv).toUtf8();
    if (!f.open(QIODevice::WriteOnly) || f.write(all) != all.size() || !f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

int TraceLog::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int TraceLog::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TraceLog::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count() || role != Qt::DisplayRole)
        return {};
    const Entry &e = at(index.row());
    switch (index.column()) {
    case Time: return timeOf(e);
    case Direction: return direction(e.kind);
    case Line: return lineOf(e);
    case Bytes: return hexOf(e.bytes);
    case RoundTrip: return roundTripOf(e);
    case Meaning: return meaning(e);
    default: return {};
    }
}

QVariant TraceLog::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char *const names[ColumnCount] = {"Time (s)", "", "Line", "Bytes", "Round trip (ms)", "Meaning"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(names[section]) : QString();
}

} // namespace trace
