#include "state.h"

#include "camera.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStringList>

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

namespace camsim {

namespace {

const QString kFormat = u"orvik-camsim state"_s;
constexpr int kVersion = 1;
constexpr int kWordsPerLine = 16;

void fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
}

// Words as lines of 16 four-digit hex numbers.
template <size_t N>
QJsonArray wordLines(const std::array<uint16_t, N> &words)
{
    QJsonArray lines;
    QString line;
    for (size_t i = 0; i < N; ++i) {
        if (!line.isEmpty())
            line += u' ';
        line += QString::asprintf("%04X", unsigned(words[i]));
        if ((i + 1) % kWordsPerLine == 0 || i + 1 == N) {
            lines.append(line);
            line.clear();
        }
    }
    return lines;
}

// The inverse: a string or an array of strings holding exactly N hex words.
template <size_t N>
bool readWords(const QJsonValue &value, std::array<uint16_t, N> &out, const QString &key, QString *error)
{
    QString text;
    if (value.isString()) {
        text = value.toString();
    } else if (value.isArray()) {
        for (const QJsonValue &line : value.toArray()) {
            if (!line.isString()) {
                fail(error, u"\"%1\": expected lines of hexadecimal words"_s.arg(key));
                return false;
            }
            text += line.toString() + u' ';
        }
    } else {
        fail(error, u"\"%1\": expected lines of hexadecimal words"_s.arg(key));
        return false;
    }
    const QStringList tokens = text.split(u' ', Qt::SkipEmptyParts);
    if (size_t(tokens.size()) != N) {
        fail(error, u"\"%1\": %2 words instead of %3"_s.arg(key).arg(tokens.size()).arg(N));
        return false;
    }
    std::array<uint16_t, N> words{};
    for (size_t i = 0; i < N; ++i) {
        bool ok = false;
        const QString &t = tokens.at(qsizetype(i));
        const uint v = t.toUInt(&ok, 16);
        if (!ok || t.size() > 4 || v > 0xFFFF) {
            fail(error, u"\"%1\": word %2 is not four hexadecimal digits: %3"_s.arg(key).arg(i).arg(t));
            return false;
        }
        words[i] = uint16_t(v);
    }
    out = words;
    return true;
}

// The lens presets, one line each: zoom, focus and the three further items.
QJsonArray presetLines(const std::array<LensPreset, Lens::kPresets> &presets)
{
    QJsonArray lines;
    for (const LensPreset &p : presets)
        lines.append(wordLines(std::array<uint16_t, 5>{p.zoom, p.focus, p.data[0], p.data[1], p.data[2]}).at(0));
    return lines;
}

bool readPresets(const QJsonValue &value, std::array<LensPreset, Lens::kPresets> &out, QString *error)
{
    const QJsonArray lines = value.toArray();
    if (!value.isArray() || lines.size() != Lens::kPresets) {
        fail(error, u"\"presets\": expected %1 lines of five hexadecimal words"_s.arg(Lens::kPresets));
        return false;
    }
    std::array<LensPreset, Lens::kPresets> presets{};
    for (int n = 0; n < Lens::kPresets; ++n) {
        std::array<uint16_t, 5> w{};
        if (!readWords(lines.at(n), w, u"presets %1"_s.arg(n + 1), error))
            return false;
        presets[size_t(n)] = LensPreset{w[0], w[1], {w[2], w[3], w[4]}};
    }
    out = presets;
    return true;
}

} // namespace

bool saveState(const Camera &camera, const QString &path, QString *error)
{
    QJsonObject settings;
    for (const SettingField &f : settingFields())
        settings.insert(QString::fromLatin1(f.name), camera.stored().*f.member);

    QJsonObject root;
    root.insert(u"format"_s, kFormat);
    root.insert(u"version"_s, kVersion);
    root.insert(u"settings"_s, settings);
    QStringList title;
    for (const QJsonValue &line : wordLines(camera.title()))
        title << line.toString();
    root.insert(u"title"_s, title.join(u' '));
    root.insert(u"eeprom1"_s, wordLines(camera.eeprom1()));
    root.insert(u"eeprom2"_s, wordLines(camera.eeprom2()));
    root.insert(u"dspEeprom"_s, wordLines(camera.dspEeprom()));
    root.insert(u"presets"_s, presetLines(camera.presets()));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        fail(error, u"cannot write %1: %2"_s.arg(path, file.errorString()));
        return false;
    }
    file.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
    if (!file.commit()) {
        fail(error, u"cannot write %1: %2"_s.arg(path, file.errorString()));
        return false;
    }
    return true;
}

bool loadState(Camera &camera, const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(error, u"cannot read %1: %2"_s.arg(path, file.errorString()));
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (doc.isNull() || !doc.isObject()) {
        fail(error, u"%1 is not a state file: %2"_s.arg(path, parseError.errorString()));
        return false;
    }
    const QJsonObject root = doc.object();
    if (root.value(u"format"_s).toString() != kFormat || root.value(u"version"_s).toInt() != kVersion) {
        fail(error, u"%1 is not a state file of this simulator (format/version)"_s.arg(path));
        return false;
    }

    // Everything is checked into a copy first, so a bad file leaves the camera as it was.
    Camera next = camera;
    QString why;
    const QJsonObject settings = root.value(u"settings"_s).toObject();
    for (auto it = settings.begin(); it != settings.end(); ++it) {
        const auto &fields = settingFields();
        auto f = std::find_if(fields.begin(), fields.end(),
                              [&](const SettingField &sf) { return it.key() == QLatin1String(sf.name); });
        if (f == fields.end()) {
            fail(error, u"%1: unknown setting \"%2\""_s.arg(path, it.key()));
            return false;
        }
        const double v = it.value().toDouble(-1);
        if (!it.value().isDouble() || v < 0 || v > 0xFFFF || v != int(v)) {
            fail(error, u"%1: setting \"%2\" must be a number 0-65535"_s.arg(path, it.key()));
            return false;
        }
        next.stored().*(f->member) = int(v);
    }
    const struct
    {
        const char16_t *key;
        std::function<bool(const QJsonValue &, const QString &)> read;
    } memories[] = {
        {u"title", [&](const QJsonValue &v, const QString &k) { return readWords(v, next.title(), k, &why); }},
        {u"eeprom1", [&](const QJsonValue &v, const QString &k) { return readWords(v, next.eeprom1(), k, &why); }},
        {u"eeprom2", [&](const QJsonValue &v, const QString &k) { return readWords(v, next.eeprom2(), k, &why); }},
        {u"dspEeprom", [&](const QJsonValue &v, const QString &k) { return readWords(v, next.dspEeprom(), k, &why); }},
        {u"presets", [&](const QJsonValue &v, const QString &) { return readPresets(v, next.presets(), &why); }},
    };
    for (const auto &m : memories) {
        const QString key = QString::fromUtf16(m.key);
        if (root.contains(key) && !m.read(root.value(key), key)) {
            fail(error, u"%1: %2"_s.arg(path, why));
            return false;
        }
    }
    next.powerOn();
    camera = next;
    return true;
}

} // namespace camsim
