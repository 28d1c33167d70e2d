// orvik-cli: the camera's line speed, read-outs, playbacks, read-backs and single requests
// from a script, on the link and transfer code the window uses.

#include "cli/session.h"

#include "link/categories.h"
#include "link/convert.h"
#include "link/frame.h"
#include "link/trace.h"
#include "transfer/playback.h"
#include "transfer/readout.h"
#include "transfer/verify.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QSaveFile>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

const QString helpTail = uR"(
Commands:
  detect                 find the camera's line speed (9600, 19200, then 38400 baud, one
                         second apart, then the camera's stop bits) and print the speed, the
                         stop bits and the camera ID
  read-out MEMORY FILE   copy a memory of the camera into a data file: eeprom1, eeprom2,
                         dsp (the DSP EEPROM) or dsp-send (the register values the camera
                         sends for a DSP EEPROM file; --default for its default values)
  play FILE              send the lines of a data file to the camera, each when the last
                         one is answered
  verify FILE            read back every memory word the data file writes and print each
                         address whose word differs
  send CAT ITEM [D1 [D2 [D3]]]
                         send one request (hexadecimal bytes) and print the reply

Without --speed every command first runs the line-speed search (about 5 seconds).
A read-out replaces FILE only once every word is read and written; otherwise the old
file stays as it was.

Exit codes:
  0  done
  1  the camera refused a request or answered wrongly, or a word differs (verify)
  2  usage error
  3  port error: the port cannot be opened or fails, no camera answers, or a reply
     takes longer than --timeout
  4  file error: the file cannot be read or written, or is not a data file
)"_s;

void printError(const QString &text)
{
    std::fprintf(stderr, "orvik-cli: %s\n", text.toLocal8Bit().constData());
}

void printOut(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

struct Output
{
    bool json = false;
    bool quiet = false;
    QString command;

    // The result: text lines, or one JSON object with "ok" and the command.
    void done(QJsonObject object, const QStringList &lines, bool ok = true) const
    {
        if (json) {
            object.insert(u"ok"_s, ok);
            object.insert(u"command"_s, command);
            printOut(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
        } else if (!quiet) {
            for (const QString &line : lines)
                printOut(line);
        }
    }
    // A failure: one line on stderr (and the JSON object on stdout); the code is returned.
    int fail(int code, const QString &message, QJsonObject object = {}) const
    {
        printError(message);
        if (json) {
            object.insert(u"exit"_s, code);
            object.insert(u"error"_s, message);
            done(object, {}, false);
        }
        return code;
    }
};

// "9A", "0x9a": one byte.
std::optional<uint8_t> parseByte(const QString &text)
{
    QString t = text.trimmed();
    if (t.startsWith(u"0x"_s, Qt::CaseInsensitive))
        t = t.mid(2);
    if (t.isEmpty() || t.size() > 2 || !conv::isHexText(t))
        return std::nullopt;
    return uint8_t(t.toUInt(nullptr, 16));
}

QString memoryName(uint8_t readCategory)
{
    switch (readCategory) {
    case cat::Eeprom1Read: return u"EEPROM 1"_s;
    case cat::Eeprom1RamRead: return u"EEPROM 1 RAM"_s;
    case cat::Eeprom2Read: return u"EEPROM 2"_s;
    case cat::DspEepromRead: return u"DSP EEPROM"_s;
    case cat::DspSendRead: return u"DSP (send)"_s;
    default: return trace::categoryName(readCategory);
    }
}

double secondsSince(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e9;
}

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

// ---------------------------------------------------------------- commands

int detect(cli::Session &s, const Output &out)
{
    ResponseFrame line, ident;
    int code = s.exchange(cat::Comm, 0x11, 1, 0, 0, 0, &line);
    if (code == cli::Done)
        code = s.exchange(cat::Comm, 0x10, 1, 0, 0, 0, &ident);
    if (code == cli::Refused)
        return out.fail(code, u"the camera refused the communication-settings read"_s);
    if (code != cli::Done)
        return out.fail(code, s.message());
    const int stopBits = (line.data2() & 0x04) ? 2 : 1;
    const QString mode = ident.data2() == 1 ? u"1:N"_s : u"1:1"_s;
    QJsonObject o{{u"port"_s, s.settings().port}, {u"speed"_s, s.baud()}, {u"stopBits"_s, stopBits},
                  {u"id"_s, int(ident.data1())}, {u"mode"_s, mode}};
    if (line.data1() <= 2)
        o.insert(u"storedSpeed"_s, QJsonValue(9600 << line.data1()));
    out.done(o, {u"speed %1"_s.arg(s.baud()), u"stop-bits %1"_s.arg(stopBits), u"id %1"_s.arg(ident.data1()),
                 u"mode %1"_s.arg(mode)});
    return cli::Done;
}

int readOut(cli::Session &s, const Output &out, const transfer::Memory &memory, const QString &memoryArg,
            bool sendDefault, const QString &path)
{
    const QString name = memoryName(memory.readCategory);
    QJsonObject o{{u"memory"_s, memoryArg}, {u"file"_s, path}};
    transfer::ReadOut ro(s.link());
    cli::Progress bar(!out.quiet);
    QObject::connect(&ro, &transfer::ReadOut::progress, &ro, [&](int address) {
        bar.update(address + 1, conv::wordToHex(uint16_t(address)));
    });
    QElapsedTimer clock;
    s.onReply = [&](const ResponseFrame &r) {
        switch (ro.onReply(r)) {
        case transfer::ReadOut::Step::Idle:
        case transfer::ReadOut::Step::Reading:
            break;
        case transfer::ReadOut::Step::Written:
            s.finish(cli::Done);
            break;
        case transfer::ReadOut::Step::WriteFailed:
            s.finish(cli::FileError, u"cannot write %1: %2"_s.arg(path, ro.error()));
            break;
        case transfer::ReadOut::Step::Incomplete:
            s.finish(cli::Refused, u"%1 read-out not written to %2: %3"_s.arg(name, fileName(path), ro.error()));
            break;
        case transfer::ReadOut::Step::Stopped:
            s.finish(cli::Refused, u"the camera %1 the read of %2 address %3 (reply %4); %5 was not written"_s
                                       .arg(r.isError() ? u"refused"_s : u"answered wrongly"_s, name,
                                            conv::wordToHex(uint16_t(memory.indexed ? r.item() : (r.item() << 8 | r.data1()))),
                                            frameText(r.bytes), fileName(path)));
            break;
        }
    };
    bar.start(name, memory.lastAddress + 1, u"words"_s);
    clock.start();
    s.link().guarded([&] {
        ro.start(memory, path, [sendDefault] { return uint8_t(sendDefault ? 1 : 0); });
    });
    const int code = s.run();
    s.onReply = {};
    bar.finish();
    if (code != cli::Done)
        return out.fail(code, code == cli::PortError ? s.message() : s.message(), o);
    const double seconds = secondsSince(clock);
    o.insert(u"words"_s, memory.lastAddress + 1);
    o.insert(u"records"_s, memory.lastRecord + 1);
    o.insert(u"seconds"_s, seconds);
    out.done(o, {u"%1: %2 words read, %3 records written to %4 in %5 s"_s.arg(name)
                     .arg(memory.lastAddress + 1)
                     .arg(memory.lastRecord + 1)
                     .arg(path)
                     .arg(seconds, 0, 'f', 2)});
    return cli::Done;
}

int play(cli::Session &s, const Output &out, const QString &path)
{
    QJsonObject o{{u"file"_s, path}};
    transfer::Playback pb(s.link());
    cli::Progress bar(!out.quiet);
    int lines = 0;
    QString end;
    QObject::connect(&pb, &transfer::Playback::progress, &pb, [&](int position) {
        if (position > 0)
            bar.update(position, u"line %1"_s.arg(pb.reader().lineNumber()));
    });
    s.onReply = [&](const ResponseFrame &r) {
        const int line = pb.reader().lineNumber();
        const QString sent = frameText(s.link().frame);
        switch (pb.onReply(r)) {
        case transfer::Playback::Step::Idle:
            break;
        case transfer::Playback::Step::Sent:
            ++lines;
            break;
        case transfer::Playback::Step::Ended:
            ++lines;
            end = u"end record"_s;
            s.finish(cli::Done);
            break;
        case transfer::Playback::Step::EndOfFile:
            end = u"end of file"_s;
            s.finish(cli::Done);
            break;
        case transfer::Playback::Step::Refused:
            o.insert(u"line"_s, line);
            s.finish(cli::Refused, u"the camera refused line %1 of %2 (request %3, reply %4); %5 lines before it "
                                   u"were taken, nothing more was sent"_s
                                       .arg(line).arg(fileName(path), sent, frameText(r.bytes)).arg(lines - 1));
            break;
        case transfer::Playback::Step::ReadFailed:
            s.finish(cli::FileError, u"%1 cannot be read after line %2; nothing more was sent"_s
                                         .arg(fileName(path)).arg(line));
            break;
        }
    };
    QElapsedTimer clock;
    clock.start();
    transfer::Playback::Start started = transfer::Playback::Start::Busy;
    s.link().guarded([&] { started = pb.start(path, &pb); });
    switch (started) {
    case transfer::Playback::Start::Sending:
        lines = 1;
        bar.start(fileName(path), int(pb.reader().size()), u"lines"_s);
        break;
    case transfer::Playback::Start::Empty:
        return out.fail(cli::FileError, u"%1 holds no request: nothing was sent"_s.arg(fileName(path)), o);
    case transfer::Playback::Start::Busy:
        return out.fail(cli::PortError, s.message(), o);
    case transfer::Playback::Start::OpenFailed:
    case transfer::Playback::Start::Refused:
        return out.fail(cli::FileError, pb.check().describe(fileName(path)), o);
    }
    const int code = s.run();
    s.onReply = {};
    bar.finish();
    if (code != cli::Done)
        return out.fail(code, s.message(), o);
    const double seconds = secondsSince(clock);
    o.insert(u"lines"_s, lines);
    o.insert(u"end"_s, end);
    o.insert(u"seconds"_s, seconds);
    out.done(o, {u"%1: %2 lines sent (%3) in %4 s"_s.arg(path).arg(lines).arg(end).arg(seconds, 0, 'f', 2)});
    return cli::Done;
}

int verify(cli::Session &s, const Output &out, const QString &path)
{
    QJsonObject o{{u"file"_s, path}};
    transfer::Verify v(s.link());
    cli::Progress bar(!out.quiet);
    QObject::connect(&v, &transfer::Verify::progress, &v, [&](int position) {
        bar.update(position, conv::wordToHex(uint16_t(v.current().address)));
    });
    s.onReply = [&](const ResponseFrame &r) {
        const transfer::WordCheck c = v.current();
        const QString where = u"%1 address %2 (line %3 of %4)"_s.arg(memoryName(c.readCategory),
                                                                      conv::wordToHex(uint16_t(c.address)))
                                  .arg(c.line)
                                  .arg(fileName(path));
        switch (v.onReply(r)) {
        case transfer::Verify::Step::Idle:
        case transfer::Verify::Step::Reading:
            break;
        case transfer::Verify::Step::Done:
            s.finish(cli::Done);
            break;
        case transfer::Verify::Step::Refused:
            s.finish(cli::Refused, u"the camera refused the read of %1 (reply %2)"_s.arg(where, frameText(r.bytes)));
            break;
        case transfer::Verify::Step::Stopped:
            s.finish(cli::Refused, u"the camera answered the read of %1 with %2"_s.arg(where, frameText(r.bytes)));
            break;
        }
    };
    transfer::Verify::Start started = transfer::Verify::Start::Busy;
    s.link().guarded([&] { started = v.start(path); });
    switch (started) {
    case transfer::Verify::Start::Reading:
        bar.start(u"verify"_s, int(v.plan().checks.size()), u"words"_s);
        break;
    case transfer::Verify::Start::Nothing:
        return out.fail(cli::FileError, u"%1 writes no memory word: nothing to verify"_s.arg(fileName(path)), o);
    case transfer::Verify::Start::Busy:
        return out.fail(cli::PortError, s.message(), o);
    case transfer::Verify::Start::OpenFailed:
    case transfer::Verify::Start::Refused:
        return out.fail(cli::FileError, v.plan().file.describe(fileName(path)), o);
    }
    const int code = s.run();
    s.onReply = {};
    bar.finish();
    if (code != cli::Done)
        return out.fail(code, s.message(), o);

    QJsonArray differ;
    QStringList lines;
    for (const auto &m : v.mismatches()) {
        differ.append(QJsonObject{{u"line"_s, m.check.line},
                                  {u"memory"_s, memoryName(m.check.readCategory)},
                                  {u"address"_s, m.check.address},
                                  {u"expected"_s, int(m.check.expected)},
                                  {u"actual"_s, int(m.actual)}});
        lines << u"line %1: %2 address %3: file %4, camera %5"_s.arg(m.check.line)
                     .arg(memoryName(m.check.readCategory), conv::wordToHex(uint16_t(m.check.address)),
                          conv::wordToHex(m.check.expected), conv::wordToHex(m.actual));
    }
    const int checked = v.compared();
    const int unchecked = v.plan().unchecked;
    const QString summary = u"%1: %2 words checked, %3 differ%4"_s.arg(path)
                                .arg(checked)
                                .arg(differ.size())
                                .arg(unchecked ? u"; %1 lines write no memory word and were not checked"_s.arg(unchecked)
                                               : QString());
    lines << summary;
    o.insert(u"checked"_s, checked);
    o.insert(u"unchecked"_s, unchecked);
    o.insert(u"mismatches"_s, differ);
    const bool ok = differ.isEmpty();
    out.done(o, lines, ok);
    if (!ok) {
        printError(u"%1 of %2 words differ from %3"_s.arg(differ.size()).arg(checked).arg(fileName(path)));
        return cli::Refused;
    }
    return cli::Done;
}

int send(cli::Session &s, const Output &out, const QList<uint8_t> &bytes)
{
    ResponseFrame reply;
    const int n = int(bytes.size()) - 1;
    auto at = [&](int i) { return i < bytes.size() ? bytes[i] : uint8_t(0); };
    const int code = s.exchange(bytes[0], at(1), n, at(2), at(3), at(4), &reply);
    const QString request = frameText(s.link().frame);
    if (code != cli::Done && code != cli::Refused)
        return out.fail(code, s.message(), {{u"request"_s, request}});
    trace::Entry e;
    e.kind = reply.isError() ? trace::Kind::ErrorReply : trace::Kind::Received;
    e.bytes = QByteArray(reinterpret_cast<const char *>(reply.bytes.data()), int(reply.bytes.size()));
    const QString meaning = trace::meaning(e);
    const QJsonObject o{{u"request"_s, request}, {u"reply"_s, frameText(reply.bytes)}, {u"meaning"_s, meaning},
                        {u"refused"_s, reply.isError()}};
    out.done(o, {u"%1  %2"_s.arg(frameText(reply.bytes), meaning)}, !reply.isError());
    if (reply.isError()) {
        printError(u"the camera refused %1 with %2"_s.arg(request, frameText(reply.bytes)));
        return cli::Refused;
    }
    return cli::Done;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"orvik-cli"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVIK_VERSION));
    // Failures are reported once, as one line; the libraries' own warnings only on request
    // (QT_LOGGING_RULES still wins).
    QLoggingCategory::setFilterRules(u"orvik.*.warning=false"_s);

    QCommandLineParser parser;
    parser.setApplicationDescription(u"Speaks to the camera module on a serial line without a window."_s);
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Show this text."_s);
    const QCommandLineOption version(u"version"_s, u"Show the version."_s);
    const QCommandLineOption port(u"port"_s, u"The camera's serial device, e.g. /dev/ttyUSB0."_s, u"DEV"_s);
    const QCommandLineOption speed(u"speed"_s, u"Line speed 9600, 19200 or 38400: skip the search."_s, u"baud"_s);
    const QCommandLineOption stopBits(u"stop-bits"_s, u"Stop bits with --speed, 1 or 2 (default 1)."_s, u"n"_s);
    const QCommandLineOption id(u"id"_s, u"Camera ID sent in every request, 0-255 (default 0)."_s, u"n"_s);
    const QCommandLineOption timeout(u"timeout"_s,
                                     u"Seconds a reply may take (default 2; 0 waits for ever)."_s, u"seconds"_s);
    const QCommandLineOption json(u"json"_s, u"Print the result as one JSON object."_s);
    const QCommandLineOption quiet({u"q"_s, u"quiet"_s}, u"Print nothing but errors."_s);
    const QCommandLineOption sendDefault(u"default"_s, u"read-out dsp-send: the default register values."_s);
    parser.addOptions({help, version, port, speed, stopBits, id, timeout, json, quiet, sendDefault});
    parser.addPositionalArgument(u"command"_s, u"detect, read-out, play, verify or send (below)."_s,
                                 u"command [arguments]"_s);

    auto usage = [](const QString &text) {
        printError(text + u" (see orvik-cli --help)"_s);
        return int(cli::Usage);
    };
    if (!parser.parse(QCoreApplication::arguments()))
        return usage(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs((parser.helpText() + helpTail).toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("orvik-cli %s\n", ORVIK_VERSION);
        return 0;
    }

    QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return usage(u"no command given"_s);
    Output out;
    out.json = parser.isSet(json);
    out.quiet = parser.isSet(quiet);
    out.command = args.takeFirst();

    cli::Settings settings;
    settings.port = parser.value(port).trimmed();
    if (settings.port.isEmpty())
        return usage(u"--port DEV is needed, for example --port /dev/ttyUSB0"_s);
    if (parser.isSet(speed)) {
        settings.baud = parser.value(speed).toInt();
        if (settings.baud != 9600 && settings.baud != 19200 && settings.baud != 38400)
            return usage(u"--speed must be 9600, 19200 or 38400, not '%1'"_s.arg(parser.value(speed)));
    }
    if (parser.isSet(stopBits)) {
        const QString v = parser.value(stopBits);
        if (v != u"1"_s && v != u"2"_s)
            return usage(u"--stop-bits must be 1 or 2, not '%1'"_s.arg(v));
        if (!parser.isSet(speed))
            return usage(u"--stop-bits goes with --speed (the search takes the camera's stop bits)"_s);
        settings.twoStopBits = v == u"2"_s;
    }
    if (parser.isSet(id)) {
        bool ok = false;
        settings.id = parser.value(id).toInt(&ok);
        if (!ok || settings.id < 0 || settings.id > 255)
            return usage(u"--id must be a number 0-255, not '%1'"_s.arg(parser.value(id)));
    }
    if (parser.isSet(timeout)) {
        bool ok = false;
        const double seconds = parser.value(timeout).toDouble(&ok);
        if (!ok || seconds < 0 || seconds > 3600)
            return usage(u"--timeout must be seconds from 0 to 3600, not '%1'"_s.arg(parser.value(timeout)));
        settings.timeoutMs = int(seconds * 1000 + 0.5);
    }

    // What each command takes, checked before the port is touched.
    const QString &command = out.command;
    auto wantArgs = [&](qsizetype min, qsizetype max, const QString &form) {
        if (args.size() < min || args.size() > max)
            return usage(u"%1 takes %2"_s.arg(command, form));
        return -1;
    };
    transfer::Memory memory = transfer::Eeprom1;
    QList<uint8_t> bytes;
    if (command == u"detect"_s) {
        if (const int c = wantArgs(0, 0, u"no arguments"_s); c >= 0)
            return c;
    } else if (command == u"read-out"_s) {
        if (const int c = wantArgs(2, 2, u"MEMORY FILE"_s); c >= 0)
            return c;
        const QString m = args.at(0);
        if (m == u"eeprom1"_s)
            memory = transfer::Eeprom1;
        else if (m == u"eeprom2"_s)
            memory = transfer::Eeprom2;
        else if (m == u"dsp"_s)
            memory = transfer::DspEeprom;
        else if (m == u"dsp-send"_s)
            memory = transfer::DspSend;
        else
            return usage(u"unknown memory '%1' (eeprom1, eeprom2, dsp, dsp-send)"_s.arg(m));
        // A file that cannot be written is found before the camera is read for a minute.
        QSaveFile probe(args.at(1));
        probe.setDirectWriteFallback(false);
        if (QFileInfo(args.at(1)).isDir() || !probe.open(QIODevice::WriteOnly)) {
            printError(u"cannot write %1: %2"_s.arg(args.at(1),
                                                    QFileInfo(args.at(1)).isDir() ? u"it is a folder"_s : probe.errorString()));
            return cli::FileError;
        }
        probe.cancelWriting();
    } else if (command == u"play"_s || command == u"verify"_s) {
        if (const int c = wantArgs(1, 1, u"FILE"_s); c >= 0)
            return c;
    } else if (command == u"send"_s) {
        if (const int c = wantArgs(2, 5, u"CAT ITEM [D1 [D2 [D3]]] in hexadecimal"_s); c >= 0)
            return c;
        for (const QString &a : args) {
            const auto b = parseByte(a);
            if (!b)
                return usage(u"'%1' is not a hexadecimal byte"_s.arg(a));
            bytes << *b;
        }
        if (!(bytes[0] & 0x80))
            return usage(u"a request's category starts at 80, not %1"_s.arg(conv::byteToHex(bytes[0])));
    } else {
        return usage(u"unknown command '%1'"_s.arg(command));
    }
    if (parser.isSet(sendDefault) && !(command == u"read-out"_s && args.at(0) == u"dsp-send"_s))
        return usage(u"--default goes with read-out dsp-send"_s);

    cli::Session session(settings);
    if (const int code = session.connectLine(); code != cli::Done)
        return out.fail(code, session.message());
    if (command == u"detect"_s)
        return detect(session, out);
    if (command == u"read-out"_s)
        return readOut(session, out, memory, args.at(0), parser.isSet(sendDefault), args.at(1));
    if (command == u"play"_s)
        return play(session, out, args.at(0));
    if (command == u"verify"_s)
        return verify(session, out, args.at(0));
    return send(session, out, bytes);
}
