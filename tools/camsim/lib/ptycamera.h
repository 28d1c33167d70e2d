// The simulated camera on a pseudo-terminal: the tool opens the slave side like a serial port,
// the simulator reads requests from the master side and writes the replies back.
#pragma once

#include "assembler.h"
#include "camera.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

class QFile;

namespace camsim {

// Misbehaviour on demand.
struct Faults
{
    int silentAfter = -1;            // >= 0: answer only the first N requests addressed to us
    int corruptEvery = 0;            // > 0: every Nth reply goes out with a wrong checksum
    std::set<uint16_t> errorOn;      // category << 8 | item: refuse with an error reply
    std::set<uint8_t> errorOnCategory;   // every item of these categories
    QByteArray stray;                // sent before each reply
    bool split = false;              // each reply in several writes with small gaps

    bool refuses(uint8_t category, uint8_t item) const
    {
        return errorOnCategory.count(category) || errorOn.count(uint16_t(category << 8 | item));
    }
};

struct Options
{
    // Unset: the stored value (state file) or the factory default.
    std::optional<int> baud;        // 9600, 19200, 38400
    std::optional<int> stopBits;    // 1, 2
    std::optional<int> id;          // 0-255
    std::optional<CommMode> mode;
    bool pace = false;              // requests and replies take their wire time at the line's speed
    QString statePath;              // loaded at start (if it exists), saved at stop
    QString logPath;                // frame log; "-" is standard output
    qsizetype logLimit = 20000;     // entries of each in-memory frame log
    QString linkPath;               // symlink to the slave, removed at stop
    std::optional<std::vector<PlantedDefect>> defects;   // the sensor's defects instead of the default ones
    Faults faults;
    QList<int> motionCells;         // cells (1-48) where something moves from the start
    // Called by start() when all is set up, just before the first request can be answered
    // (the executable prints the slave path here, so it always comes before any log line).
    std::function<void(const QString &slavePath)> onOpened;
};

struct LogEntry
{
    enum class Dir { In, Out };
    qint64 msecsSinceEpoch = 0;
    Dir dir = Dir::In;
    QByteArray bytes;
    QString note;   // why an incoming frame was ignored, or what was done to a reply

    // "12:34:56.789 in  8110 0000 0001 6E  (note)"
    QString text() const;
};

class PtyCamera
{
public:
    explicit PtyCamera(Options options = {});
    ~PtyCamera();
    PtyCamera(const PtyCamera &) = delete;
    PtyCamera &operator=(const PtyCamera &) = delete;

    // Loads the state, opens the pty pair, makes the link and starts answering.
    bool start(QString *error = nullptr);
    // Stops answering, closes the pty, removes the link and saves the state. Safe to repeat.
    bool stop(QString *error = nullptr);
    bool isRunning() const { return thread_.joinable(); }
    QString slavePath() const { return slavePath_; }

    // The model, under the lock the I/O thread holds while it answers.
    template <typename F>
    auto withCamera(F &&f)
    {
        std::lock_guard lock(mutex_);
        return f(camera_);
    }
    // The line speed the camera runs at and the speed currently set on the pty (0 if unknown).
    LineSettings line() const;
    int ptyBaud() const;
    // Switch the camera off and on: the stored line settings take effect.
    void powerCycle();

    void setFaults(const Faults &faults);
    Faults faults() const;
    void setPace(bool pace);

    // What crossed the line, and the good frames in each direction: the newest
    // Options::logLimit of each (the --log file keeps everything).
    QList<LogEntry> log() const;
    QList<Frame7> received() const;   // decoded at the right speed with a good sum, ours or not
    QList<Frame7> sent() const;       // replies as written (after fault injection)
    void clearLog();

private:
    struct Output
    {
        QByteArray stray;
        Frame7 reply{};
        QString note;
    };

    void run();
    void onBytes(const uint8_t *data, size_t size, std::vector<Output> &outputs);
    std::optional<Output> onFrame(const Frame7 &frame);
    // arrived: when the request's bytes were read (paced replies start after its wire time).
    void send(const Output &out, std::chrono::steady_clock::time_point arrived);
    bool writeAll(const char *data, size_t size);
    bool waitUntil(std::chrono::steady_clock::time_point t);   // false when asked to stop
    void record(LogEntry::Dir dir, QByteArray bytes, QString note);

    Options options_;
    mutable std::mutex mutex_;   // camera_, faults, counters, logs
    Camera camera_;
    FrameAssembler assembler_;
    int requests_ = 0;
    int replies_ = 0;
    QList<LogEntry> log_;
    QList<Frame7> received_, sent_;
    std::unique_ptr<QFile> logFile_;

    int master_ = -1;
    int slave_ = -1;     // kept open: the termios stays readable and the master never hangs up
    int wake_ = -1;      // eventfd: stop
    QString slavePath_;
    bool linked_ = false;
    std::thread thread_;
};

} // namespace camsim
