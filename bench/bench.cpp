// The link's cost against the wire: the C floor, the main window's round trip (a page's read
// chain and a repeat loop) against a camera that answers at once, CPU per request and an
// EEPROM 1 read-out against the paced simulator (the window's and orvik-cli's), start-up
// and memory. Run by scripts/bench.sh, never by the tests: the figures depend on the machine.
#include "pages/alcpage.h"
#include "pages/eeppage.h"
#include "transfer/readout.h"
#include "widgets/dialogs.h"
#include "window/form1.h"
#include "window/form2.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kAlcTab = 2;
constexpr int kEepTab = 12;
constexpr int kDebugForm = 4;

// Every box answered at once, nothing shown.
class QuietDialogs : public Dialogs
{
public:
    QStringList saveQueue;
    QStringList shown;
    Answer message(const QString &text, const QString &, Buttons) override
    {
        shown << text;
        return Answer::Yes;
    }
    void exception(const QString &text) override { shown << text; }
    QString openFile(const QString &) override { return {}; }
    QString saveFile(const QString &) override { return saveQueue.isEmpty() ? QString() : saveQueue.takeFirst(); }
};

qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

struct Usage
{
    double cpuMs = 0;
    long switches = 0;
    static Usage now()
    {
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        Usage r;
        r.cpuMs = double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3
            + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
        r.switches = u.ru_nvcsw + u.ru_nivcsw;
        return r;
    }
};

double peakRssMb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

// Runs the event loop until done() or the time is up. The loop sleeps between events (a
// spinning wait would be measured as the tool's CPU); a slow tick wakes it for the deadline.
bool waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer t;
    t.start();
    QTimer tick;
    tick.start(20);
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

bool waitExposed(QWidget *w)
{
    const bool ok = waitFor([w] { return w->windowHandle() && w->windowHandle()->isExposed(); }, 10000);
    QCoreApplication::processEvents();
    return ok;
}

void pause(int ms)
{
    waitFor([] { return false; }, ms);
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double minimum(const std::vector<double> &v)
{
    return v.empty() ? 0 : *std::min_element(v.begin(), v.end());
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

// A child that prints the slave path of its pseudo-terminal on its first line.
struct Peer
{
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
    QString slave;

    bool start(const QString &program, const QStringList &arguments)
    {
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(program, arguments);
        if (!process->waitForStarted(5000))
            return false;
        while (!process->canReadLine()) {
            if (!process->waitForReadyRead(5000))
                return false;
        }
        slave = QString::fromLocal8Bit(process->readLine()).trimmed();
        return !slave.isEmpty();
    }
    ~Peer()
    {
        if (process->state() != QProcess::NotRunning) {
            process->closeWriteChannel();
            process->terminate();
            process->waitForFinished(3000);
        }
    }
};

// The main window on a device, connected, with the set-up's one-second pauses shortened.
struct Tool
{
    std::unique_ptr<TForm1> form;
    int sent = 0, received = 0;

    bool open(const QString &device)
    {
        PortMap::setPath(1, device.toStdString());
        form = std::make_unique<TForm1>(0, kDebugForm);
        form->setAttribute(Qt::WA_DeleteOnClose, false);
        Connection &c = *form->connection;
        for (core::Timer *t : {c.PONTimer1, c.PONTimer2, c.BaudTimer1})
            t->setIntervalMs(150);
        QObject::connect(&form->link, &Link::frameSent, form.get(), [this] { ++sent; });
        QObject::connect(&form->link, &Link::frameReceived, form.get(), [this] { ++received; });
        form->show();
        if (!waitExposed(form.get()))
            return false;
        // Connected once the set-up's timers are done and the shown page's reads ended.
        return waitFor([&] { return received > 0 && !c.PONTimer1->isActive() && !c.PONTimer2->isActive(); }, 10000)
            && idle(5000);
    }

    bool idle(int ms)
    {
        const Connection &c = *form->connection;
        // Quiet for a while: nothing sent, no timer of the set-up armed.
        return waitFor([&] {
            const int before = sent;
            pause(100);
            return before == sent && form->link.LinkBusy == 0 && !c.BaudTimer1->isActive();
        }, ms);
    }

    void showTab(int index)
    {
        form->PageControl1->setCurrentIndex(index);
        idle(10000);
    }

    // The shown page's refresh chain, started again whenever it ends, for `count` requests.
    // Returns the time per round trip in ms.
    double chain(int count)
    {
        const int first = sent;
        QElapsedTimer t;
        bool done = false;
        auto again = QObject::connect(&form->link, &Link::frameReceived, form.get(), [&] {
            QMetaObject::invokeMethod(form.get(), [&] {
                if (sent - first >= count)
                    done = true;
                else if (form->link.LinkBusy == 0)
                    form->dispatch.PageCheck();
            }, Qt::QueuedConnection);
        });
        t.start();
        form->dispatch.PageCheck();
        waitFor([&] { return done; }, 600000);
        const double ms = double(t.nsecsElapsed()) / 1e6;
        const int n = sent - first;
        QObject::disconnect(again);
        idle(10000);
        return ms / n;
    }

    // The ALC page's iris loop with 'Repeat' ticked, for `count` requests: time per round
    // trip, CPU per request, context switches per request and, with probe, how long a
    // posted event waited (each ms value in `latencies`).
    struct Loop { double rtMs = 0, cpuMs = 0, switches = 0; };
    Loop repeat(int count, std::vector<double> *latencies = nullptr)
    {
        AlcPage &alc = *form->pages.alc;
        const int first = sent;
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        probe.setInterval(7);
        if (latencies) {
            QObject::connect(&probe, &QTimer::timeout, form.get(), [this, latencies] {
                const qint64 t0 = monotonicNs();
                QMetaObject::invokeMethod(form.get(), [t0, latencies] {
                    latencies->push_back(double(monotonicNs() - t0) / 1e6);
                }, Qt::QueuedConnection);
            });
            probe.start();
        }
        alc.IRepeat->setChecked(true);
        const Usage u0 = Usage::now();
        QElapsedTimer t;
        t.start();
        alc.IGET->click();
        waitFor([&] { return sent - first >= count; }, 600000);
        const double ms = double(t.nsecsElapsed()) / 1e6;
        const Usage u1 = Usage::now();
        const int n = sent - first;
        probe.stop();
        alc.IRepeat->setChecked(false);
        idle(10000);
        return {ms / n, (u1.cpuMs - u0.cpuMs) / n, double(u1.switches - u0.switches) / n};
    }

    // EEPROM 1 into a data file, as the EEP page's button does it: seconds from the press
    // to the file written.
    double readOut(const QString &path, QuietDialogs &dialogs)
    {
        EepPage &eep = *form->pages.eep;
        dialogs.saveQueue = {path};
        QElapsedTimer t;
        double seconds = -1;
        auto watch = QObject::connect(&form->link, &Link::frameReceived, form.get(), [&] {
            QMetaObject::invokeMethod(form.get(), [&] {
                if (seconds < 0 && !eep.readOut->running())
                    seconds = double(t.nsecsElapsed()) / 1e9;
            }, Qt::QueuedConnection);
        });
        t.start();
        eep.CtoP->click();
        waitFor([&] { return seconds >= 0; }, 120000);
        QObject::disconnect(watch);
        idle(10000);
        return QFile::exists(path) ? seconds : -1;
    }
};

// The C floor: time per round trip in ms, and the CPU it used per round trip.
struct FloorRun { double rtMs = -1, cpuMs = -1; };
FloorRun runFloor(const QString &dir, const QString &slave, int count)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(dir + u"/orvik-bench-floor"_s, {slave, QString::number(count)});
    if (!p.waitForFinished(600000) || p.exitCode() != 0)
        return {};
    const QStringList f = QString::fromLatin1(p.readAllStandardOutput()).split(u' ');
    return {f.value(0).toDouble(), f.value(1).toDouble()};
}

// orvik-cli's own EEPROM 1 read-out on a device: the seconds it reports (-1: it failed).
double cliReadOut(const QString &cli, const QString &device, const QString &path)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(cli, {u"--port"_s, device, u"--speed"_s, u"38400"_s, u"--id"_s, u"0"_s, u"--json"_s,
                  u"read-out"_s, u"eeprom1"_s, path});
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return -1;
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object().value(u"seconds"_s).toDouble(-1);
}

// The start-up child: chooser shown, then GO to the main window shown.
int startupChild(const QString &device)
{
    const qint64 t0 = qEnvironmentVariable("ORVIK_BENCH_T0").toLongLong();
    int argc = 1;
    char name[] = "orvik-bench";
    char *argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QuietDialogs dialogs;
    Dialogs::install(&dialogs);
    PortMap::setPath(1, device.toStdString());
    TForm2 chooser(1);
    chooser.show();
    waitExposed(&chooser);
    const qint64 shown = monotonicNs();
    chooser.Com_Port_Go->click();
    TForm1 *main = chooser.mainWindow();
    if (!main || !waitExposed(main))
        return 1;
    const qint64 mainShown = monotonicNs();
    std::printf("%.3f %.3f %.1f\n", double(shown - t0) / 1e6, double(mainShown - shown) / 1e6, peakRssMb());
    std::fflush(stdout);
    main->close();
    Dialogs::install(nullptr);
    return 0;
}

struct Figure
{
    Figure(QString k, QString l, QString u, double ref = 0, QString refName = {})
        : key(std::move(k)), label(std::move(l)), unit(std::move(u)), reference(ref), referenceName(std::move(refName))
    {
    }
    QString key, label, unit;
    std::vector<double> values;
    double reference = 0;    // the ratio's denominator (0: none)
    QString referenceName;
};

QString fmt(double v)
{
    return QString::number(v, 'f', v >= 100 ? 1 : (v >= 1 ? 3 : 4));
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc >= 3 && qstrcmp(argv[1], "startup-child") == 0)
        return startupChild(QString::fromLocal8Bit(argv[2]));

    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({u"out"_s, u"Write the figures as JSON to this file."_s, u"file"_s});
    parser.addOption({u"reps"_s, u"Interleaved repetitions of each unpaced run (default 5)."_s, u"n"_s, u"5"_s});
    parser.addOption({u"requests"_s, u"Round trips per unpaced run (default 2000)."_s, u"n"_s, u"2000"_s});
    parser.addOption({u"paced"_s, u"Requests of the paced repeat loop (default 1500)."_s, u"n"_s, u"1500"_s});
    parser.addOption({u"camsim"_s, u"The camera simulator executable."_s, u"path"_s});
    parser.addOption({u"cli"_s, u"The orvik-cli executable."_s, u"path"_s});
    parser.addOption({u"only"_s, u"Run only these parts: unpaced, paced, startup (comma separated; for profiling)."_s,
                      u"parts"_s, u"unpaced,paced,startup"_s});
    parser.process(app);

    const QString dir = QCoreApplication::applicationDirPath();
    const QString camsimExe = parser.isSet(u"camsim"_s) ? parser.value(u"camsim"_s)
                                                       : dir + u"/../tools/camsim/orvik-camsim"_s;
    const QString cliExe = parser.isSet(u"cli"_s) ? parser.value(u"cli"_s) : dir + u"/../src/orvik-cli"_s;
    const int reps = std::max(1, parser.value(u"reps"_s).toInt());
    const int requests = std::max(10, parser.value(u"requests"_s).toInt());
    const int paced = std::max(10, parser.value(u"paced"_s).toInt());
    const QStringList only = parser.value(u"only"_s).split(u',');
    QuietDialogs dialogs;
    Dialogs::install(&dialogs);
    QTemporaryDir tmp;

    Peer floorPeer, toolPeer;
    if (!floorPeer.start(dir + u"/orvik-bench-responder"_s, {}) || !toolPeer.start(dir + u"/orvik-bench-responder"_s, {})) {
        std::fprintf(stderr, "orvik-bench: cannot start the responder\n");
        return 1;
    }

    Figure floorRt(u"floor_rt_ms"_s, u"C floor round trip"_s, u"ms"_s);
    Figure chainRt(u"chain_rt_ms"_s, u"tool chain round trip"_s, u"ms"_s);
    Figure repeatRt(u"repeat_rt_ms"_s, u"tool repeat round trip"_s, u"ms"_s);
    Figure repeatCpu(u"repeat_cpu_ms"_s, u"  CPU per request (unpaced)"_s, u"ms"_s);

    if (only.contains(u"unpaced"_s)) {
        std::fprintf(stderr, "orvik-bench: unpaced runs, %d x %d round trips...\n", reps, requests);
        Tool tool;
        if (!tool.open(toolPeer.slave)) {
            std::fprintf(stderr, "orvik-bench: the main window did not connect to the responder\n");
            return 1;
        }
        // Warm-up.
        runFloor(dir, floorPeer.slave, requests / 10);
        tool.chain(requests / 10);
        tool.showTab(kAlcTab);
        tool.repeat(requests / 10);
        for (int r = 0; r < reps; ++r) {
            floorRt.values.push_back(runFloor(dir, floorPeer.slave, requests).rtMs);
            tool.showTab(0);
            chainRt.values.push_back(tool.chain(requests));
            tool.showTab(kAlcTab);
            const Tool::Loop loop = tool.repeat(requests);
            repeatRt.values.push_back(loop.rtMs);
            repeatCpu.values.push_back(loop.cpuMs);
        }
        tool.form->close();
    }
    const double floorMedian = median(floorRt.values);
    chainRt.reference = repeatRt.reference = floorMedian;
    chainRt.referenceName = repeatRt.referenceName = u"C floor"_s;

    // The paced simulator at 38,400 baud, one stop bit.
    // One exchange on the wire: a 7-byte request and a 7-byte reply, 10 bits per byte.
    const double exchangeMs = 14 * 10.0 / 38400 * 1e3;
    constexpr int kEeprom1Exchanges = 1024;
    // The C floor's client on the same paced line shows what the simulator and the kernel
    // add to the wire; whatever the tool adds on top of that is its own.
    Figure pacedFloorRt(u"paced_floor_rt_ms"_s, u"paced C client round trip"_s, u"ms"_s, exchangeMs, u"wire"_s);
    Figure pacedFloorCpu(u"paced_floor_cpu_ms"_s, u"  its CPU per request"_s, u"ms"_s);
    Figure pacedRt(u"paced_rt_ms"_s, u"paced repeat round trip"_s, u"ms"_s, exchangeMs, u"wire"_s);
    Figure pacedCpu(u"paced_cpu_ms"_s, u"paced repeat CPU per request"_s, u"ms"_s);
    Figure pacedSwitches(u"paced_switches"_s, u"  context switches per request"_s, u""_s);
    Figure latency(u"ui_latency_p99_ms"_s, u"UI latency p99 during the loop"_s, u"ms"_s);
    Figure eeprom(u"eeprom1_s"_s, u"EEPROM 1 read-out"_s, u"s"_s, kEeprom1Exchanges * exchangeMs / 1e3, u"wire"_s);
    Figure cliEeprom(u"cli_eeprom1_s"_s, u"orvik-cli EEPROM 1 read-out"_s, u"s"_s, eeprom.reference, u"wire"_s);
    if (only.contains(u"paced"_s)) {
        std::fprintf(stderr, "orvik-bench: paced runs at 38,400 baud...\n");
        const QStringList simArgs = {u"--baud"_s, u"38400"_s, u"--stop-bits"_s, u"1"_s, u"--pace"_s, u"--id"_s, u"0"_s};
        Peer sim, floorSim;
        if (!sim.start(camsimExe, simArgs) || !floorSim.start(camsimExe, simArgs)) {
            std::fprintf(stderr, "orvik-bench: cannot start %s\n", qPrintable(camsimExe));
            return 1;
        }
        Tool tool;
        if (!tool.open(sim.slave)) {
            std::fprintf(stderr, "orvik-bench: the main window did not connect to the simulator\n");
            return 1;
        }
        tool.showTab(kAlcTab);
        for (int r = 0; r < std::max(1, reps / 2); ++r) {
            const FloorRun f = runFloor(dir, floorSim.slave, paced);
            pacedFloorRt.values.push_back(f.rtMs);
            pacedFloorCpu.values.push_back(f.cpuMs);
            const Tool::Loop loop = tool.repeat(paced);
            pacedRt.values.push_back(loop.rtMs);
            pacedCpu.values.push_back(loop.cpuMs);
            pacedSwitches.values.push_back(loop.switches);
        }
        std::vector<double> waits;
        tool.repeat(paced / 2, &waits);
        latency.values.push_back(percentile(waits, 0.99));
        tool.showTab(kEepTab);
        for (int r = 0; r < 3; ++r)
            eeprom.values.push_back(tool.readOut(tmp.filePath(u"eep1-%1.dat"_s.arg(r)), dialogs));
        tool.form->close();
        // The line tool on the other simulator, which the C client has let go of.
        for (int r = 0; r < 3; ++r) {
            const double s = cliReadOut(cliExe, floorSim.slave, tmp.filePath(u"cli-eep1-%1.dat"_s.arg(r)));
            if (s >= 0)
                cliEeprom.values.push_back(s);
        }
    }
    Figure rss(u"peak_rss_mb"_s, u"peak RSS after all runs"_s, u"MB"_s);
    rss.values.push_back(peakRssMb());

    std::fprintf(stderr, "orvik-bench: start-up...\n");
    Figure toChooser(u"startup_chooser_ms"_s, u"start-up to the chooser"_s, u"ms"_s);
    Figure toMain(u"startup_main_ms"_s, u"GO to the main window"_s, u"ms"_s);
    Figure startRss(u"startup_rss_mb"_s, u"peak RSS at the main window"_s, u"MB"_s);
    for (int r = 0; r < (only.contains(u"startup"_s) ? 5 : 0); ++r) {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"ORVIK_BENCH_T0"_s, QString::number(monotonicNs()));
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationFilePath(), {u"startup-child"_s, toolPeer.slave});
        if (!p.waitForFinished(30000) || p.exitCode() != 0)
            continue;
        const QStringList f = QString::fromLatin1(p.readAllStandardOutput()).split(u' ');
        toChooser.values.push_back(f.value(0).toDouble());
        toMain.values.push_back(f.value(1).toDouble());
        startRss.values.push_back(f.value(2).toDouble());
    }

    const std::vector<Figure *> figures = {&floorRt, &chainRt, &repeatRt, &repeatCpu, &pacedFloorRt,
                                           &pacedFloorCpu, &pacedRt, &pacedCpu, &pacedSwitches, &latency,
                                           &eeprom, &cliEeprom, &toChooser, &toMain, &startRss, &rss};
    std::printf("%-34s %10s %10s %10s  %s\n", "", "min", "median", "ratio", "ratio to");
    QJsonObject json;
    for (const Figure *f : figures) {
        const double mn = minimum(f->values), md = median(f->values);
        const QString ratio = f->reference > 0 ? u"x"_s + QString::number(md / f->reference, 'f', 3) : QString();
        std::printf("%-34s %10s %10s %10s  %s\n", qPrintable(f->label + (f->unit.isEmpty() ? QString() : u" ("_s + f->unit + u')')),
                    qPrintable(fmt(mn)), qPrintable(fmt(md)), qPrintable(ratio),
                    qPrintable(f->reference > 0 ? f->referenceName + u" "_s + fmt(f->reference) : QString()));
        QJsonObject o{{u"min"_s, mn}, {u"median"_s, md}, {u"unit"_s, f->unit}};
        QJsonArray all;
        for (double v : f->values)
            all.append(v);
        o[u"values"_s] = all;
        if (f->reference > 0) {
            o[u"reference"_s] = f->reference;
            o[u"ratio"_s] = md / f->reference;
        }
        json[f->key] = o;
    }
    const double goals[4] = {median(chainRt.values) / floorMedian, median(pacedCpu.values),
                             median(eeprom.values) / eeprom.reference, median(cliEeprom.values) / cliEeprom.reference};
    const auto met = [](double v, double goal) { return v > 0 && v <= goal ? "met" : "NOT met"; };
    std::printf("\ngoals: chain round trip <= x1.5 floor: %s   paced CPU <= 0.15 ms/request: %s   "
                "EEPROM 1 within 2 %% of wire: %s (window), %s (orvik-cli)\n",
                met(goals[0], 1.5), met(goals[1], 0.15), met(goals[2], 1.02), met(goals[3], 1.02));
    // What the tool adds to a paced exchange beyond the bare client, as a share of the wire.
    if (!pacedFloorRt.values.empty() && !pacedRt.values.empty()) {
        const double own = median(pacedRt.values) - median(pacedFloorRt.values);
        const double perExchange = eeprom.values.empty() ? 0 : median(eeprom.values) * 1e3 / kEeprom1Exchanges - median(pacedFloorRt.values);
        std::printf("beyond the paced C client: repeat %+.4f ms (%+.1f %% of the wire), "
                    "EEPROM 1 read-out %+.4f ms per exchange (%+.1f %%)\n",
                    own, own / pacedRt.reference * 100, perExchange, perExchange / pacedRt.reference * 100);
        json[u"paced_own_ms"_s] = own;
        json[u"eeprom1_own_ms_per_exchange"_s] = perExchange;
    }
    json[u"requests"_s] = requests;
    json[u"reps"_s] = reps;
    json[u"paced_requests"_s] = paced;
    if (parser.isSet(u"out"_s)) {
        QFile out(parser.value(u"out"_s));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::fprintf(stderr, "orvik-bench: cannot write %s\n", qPrintable(out.fileName()));
            return 1;
        }
        out.write(QJsonDocument(json).toJson());
    }
    Dialogs::install(nullptr);
    return 0;
}
