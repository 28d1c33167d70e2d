#include "cli.h"

#include <QCommandLineParser>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace camsim {

QString helpText()
{
    return uR"(Usage: orvik-camsim [options]

Plays the camera module on a pseudo-terminal. The first line printed is the path of the
terminal's slave side: open it as the camera's serial port.

The camera answers each request with one reply, and only while the speed set on the terminal
equals its own line speed (requests sent at another speed are not decoded). In 1:N mode it
answers only requests that carry its ID. Requests with a bad checksum are ignored; requests it
does not know are answered with an error reply.

Line and identity:
  --baud 9600|19200|38400  line speed (default: as stored in the state file, else 38400)
  --stop-bits 1|2          stop bits (default: as stored, else 1)
  --id N                   communication ID, 0-255 (default: as stored, else 1)
  --mode 1:1|1:N           communication mode (default: as stored, else 1:1)
  --pace                   run the line at its real speed both ways (10 bits per byte, 11
                           with two stop bits): a request is answered only after its own
                           wire time, and each reply byte goes out at its byte time

Sensor:
  --defect X,Y,PEAK[,stuck]
                           plant a defective pixel at X, Y (even field) with this peak; numbers
                           decimal or 0x-hexadecimal; "stuck" keeps it visible while the defect
                           table corrects it; repeat the option for more; replaces the three
                           default defects (--defect none plants none)

Files:
  --link PATH              also make PATH a symbolic link to the slave side (removed on exit;
                           an old link at PATH is replaced, any other file is left alone)
  --state FILE             load the camera's memories and stored settings from FILE at start
                           (when it exists) and save them there on exit
  --log FILE               log every frame in and out with a millisecond time stamp, and why a
                           frame was ignored ("-" for standard output, after the first line)

Faults:
  --silent-after N         answer the first N requests addressed to the camera, then nothing
  --corrupt-every N        give every Nth reply a wrong checksum
  --error-on CAT/ITEM      answer this request with an error reply (category | 0x40, same
                           item); hexadecimal, e.g. 81/10 or 0x86/0x02; ITEM * stands for
                           every item of the category; repeat the option for more
  --stray BYTES            send these bytes before every reply: hexadecimal pairs, e.g. 06 or
                           41,06 (the tool skips 06 and 15 and traces any other stray byte)
  --split                  send each reply in three writes of 2, 2 and 3 bytes, 3 ms apart

Scene:
  --motion-in CELLS        something moves in these cells of the motion detector's 8 x 6 grid:
                           cell numbers 1-48 row by row from the top-left, e.g. 9,17

  -h, --help               show this text
  --version                show the version

The camera keeps its settings as the real one does: the line speed (89/93) and stop bits (89/94)
it is told are stored and take effect at its next start, a power cycle; the reset command (8F)
reloads the stored settings; the ID (89/90) and mode (89/91) take effect at once.
Stop it with Ctrl+C or SIGTERM.

Example:
  orvik-camsim --link /tmp/camera --baud 19200 --log - --error-on 86/02
)"_s;
}

std::optional<std::pair<uint8_t, int>> parseCategoryItem(const QString &text)
{
    static const QRegularExpression re(u"^(?:0[xX])?([0-9A-Fa-f]{1,2})/(?:(\\*)|(?:0[xX])?([0-9A-Fa-f]{1,2}))$"_s);
    const auto m = re.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const uint category = m.captured(1).toUInt(nullptr, 16);
    if (!(category & 0x80))
        return std::nullopt;
    const int item = m.captured(2).isEmpty() ? int(m.captured(3).toUInt(nullptr, 16)) : -1;
    return std::pair{uint8_t(category), item};
}

std::optional<QByteArray> parseHexBytes(const QString &text)
{
    // Pairs may be run together ("4106") or separated ("41,06", "41 06"); an empty field
    // between separators ("41,,06") is a typing slip, not a byte.
    const QStringList fields = text.trimmed().split(QRegularExpression(u"\\s*[,:]\\s*|\\s+"_s));
    QString digits;
    for (const QString &field : fields) {
        if (field.isEmpty() || field.size() % 2 != 0)
            return std::nullopt;
        digits += field;
    }
    QByteArray bytes;
    for (qsizetype i = 0; i < digits.size(); i += 2) {
        bool ok = false;
        const uint b = digits.mid(i, 2).toUInt(&ok, 16);
        if (!ok)
            return std::nullopt;
        bytes.append(char(b));
    }
    return bytes;
}

std::optional<PlantedDefect> parseDefect(const QString &text)
{
    const QStringList parts = text.split(u',');
    if (parts.size() < 3 || parts.size() > 4 || (parts.size() == 4 && parts.at(3).trimmed() != u"stuck"_s))
        return std::nullopt;
    int values[3] = {};
    const int limits[3] = {0x3FF, 0x1FF, 0xFFFF};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        values[i] = parts.at(i).trimmed().toInt(&ok, 0);
        if (!ok || values[i] < 0 || values[i] > limits[i])
            return std::nullopt;
    }
    PlantedDefect d;
    d.x = values[0];
    d.y = values[1];
    d.peak = values[2];
    d.stuck = parts.size() == 4;
    return d;
}

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine cl;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({u"h"_s, u"help"_s}, {});
    const QCommandLineOption version(u"version"_s, {});
    const QCommandLineOption baud(u"baud"_s, {}, u"speed"_s);
    const QCommandLineOption stopBits(u"stop-bits"_s, {}, u"bits"_s);
    const QCommandLineOption id(u"id"_s, {}, u"N"_s);
    const QCommandLineOption mode(u"mode"_s, {}, u"mode"_s);
    const QCommandLineOption pace(u"pace"_s, {});
    const QCommandLineOption state(u"state"_s, {}, u"FILE"_s);
    const QCommandLineOption log(u"log"_s, {}, u"FILE"_s);
    const QCommandLineOption link(u"link"_s, {}, u"PATH"_s);
    const QCommandLineOption silentAfter(u"silent-after"_s, {}, u"N"_s);
    const QCommandLineOption corruptEvery(u"corrupt-every"_s, {}, u"N"_s);
    const QCommandLineOption errorOn(u"error-on"_s, {}, u"CAT/ITEM"_s);
    const QCommandLineOption stray(u"stray"_s, {}, u"BYTES"_s);
    const QCommandLineOption split(u"split"_s, {});
    const QCommandLineOption defect(u"defect"_s, {}, u"X,Y,PEAK"_s);
    const QCommandLineOption motionIn(u"motion-in"_s, {}, u"CELLS"_s);
    parser.addOptions({help, version, baud, stopBits, id, mode, pace, state, log, link, silentAfter,
                       corruptEvery, errorOn, stray, split, defect, motionIn});

    if (!parser.parse(arguments)) {
        cl.error = parser.errorText();
        return cl;
    }
    cl.help = parser.isSet(help);
    cl.version = parser.isSet(version);
    if (!parser.positionalArguments().isEmpty()) {
        cl.error = u"unexpected argument: %1"_s.arg(parser.positionalArguments().first());
        return cl;
    }

    Options &o = cl.options;
    auto number = [&](const QCommandLineOption &opt, int min, int max) -> std::optional<int> {
        bool ok = false;
        const QString text = parser.value(opt);
        const int v = text.toInt(&ok);
        if (!ok || v < min || v > max) {
            cl.error = u"--%1: expected a number %2-%3, not \"%4\""_s.arg(opt.names().constLast()).arg(min).arg(max).arg(text);
            return std::nullopt;
        }
        return v;
    };

    if (parser.isSet(baud)) {
        const QString text = parser.value(baud);
        const int v = text.toInt();
        if (!codeOfBaud(v)) {
            cl.error = u"--baud: expected 9600, 19200 or 38400, not \"%1\""_s.arg(text);
            return cl;
        }
        o.baud = v;
    }
    if (parser.isSet(stopBits)) {
        const QString text = parser.value(stopBits);
        if (text != u"1"_s && text != u"2"_s) {
            cl.error = u"--stop-bits: expected 1 or 2, not \"%1\""_s.arg(text);
            return cl;
        }
        o.stopBits = text.toInt();
    }
    if (parser.isSet(id)) {
        const auto v = number(id, 0, 255);
        if (!v)
            return cl;
        o.id = *v;
    }
    if (parser.isSet(mode)) {
        const QString text = parser.value(mode).toUpper();
        if (text == u"1:1"_s)
            o.mode = CommMode::OneToOne;
        else if (text == u"1:N"_s)
            o.mode = CommMode::OneToN;
        else {
            cl.error = u"--mode: expected 1:1 or 1:N, not \"%1\""_s.arg(parser.value(mode));
            return cl;
        }
    }
    o.pace = parser.isSet(pace);
    o.statePath = parser.value(state);
    o.logPath = parser.value(log);
    o.linkPath = parser.value(link);

    if (parser.isSet(silentAfter)) {
        const auto v = number(silentAfter, 0, 1 << 30);
        if (!v)
            return cl;
        o.faults.silentAfter = *v;
    }
    if (parser.isSet(corruptEvery)) {
        const auto v = number(corruptEvery, 1, 1 << 30);
        if (!v)
            return cl;
        o.faults.corruptEvery = *v;
    }
    for (const QString &text : parser.values(errorOn)) {
        const auto ci = parseCategoryItem(text);
        if (!ci) {
            cl.error = u"--error-on: expected CAT/ITEM in hexadecimal with CAT 80-FF (e.g. 81/10 or 90/*), not \"%1\""_s.arg(text);
            return cl;
        }
        if (ci->second < 0)
            o.faults.errorOnCategory.insert(ci->first);
        else
            o.faults.errorOn.insert(uint16_t(ci->first << 8 | ci->second));
    }
    if (parser.isSet(stray)) {
        const auto bytes = parseHexBytes(parser.value(stray));
        if (!bytes) {
            cl.error = u"--stray: expected hexadecimal byte pairs (e.g. 06 or 41,06), not \"%1\""_s.arg(parser.value(stray));
            return cl;
        }
        o.faults.stray = *bytes;
    }
    o.faults.split = parser.isSet(split);
    if (parser.isSet(defect)) {
        o.defects.emplace();
        for (const QString &text : parser.values(defect)) {
            if (text == u"none"_s)
                continue;
            const auto d = parseDefect(text);
            if (!d) {
                cl.error = u"--defect: expected X,Y,PEAK[,stuck] with X 0-1023, Y 0-511, PEAK 0-65535, not \"%1\""_s.arg(text);
                return cl;
            }
            o.defects->push_back(*d);
        }
    }
    for (const QString &value : parser.values(motionIn)) {
        for (const QString &part : value.split(u',', Qt::SkipEmptyParts)) {
            bool ok = false;
            const int cell = part.trimmed().toInt(&ok);
            if (!ok || cell < 1 || cell > Camera::kMotionCells) {
                cl.error = u"--motion-in: expected cell numbers 1-48 separated by commas, not \"%1\""_s.arg(value);
                return cl;
            }
            o.motionCells << cell;
        }
    }
    return cl;
}

} // namespace camsim
