#include "frames.h"

Frame7 requestFrame(const QByteArray &hex)
{
    const QByteArray b = QByteArray::fromHex(hex);
    Frame7 f{};
    for (int i = 0; i < 5; ++i)
        f[size_t(i)] = i < b.size() ? uint8_t(b.at(i)) : 0;
    sealFrame(f);
    return f;
}

QStringList requestTexts(std::initializer_list<const char *> hexFrames)
{
    QStringList out;
    for (const char *h : hexFrames)
        out << frameText(requestFrame(h));
    return out;
}

QStringList texts(const QList<Frame7> &frames, qsizetype from)
{
    QStringList out;
    for (qsizetype i = from; i < frames.size(); ++i)
        out << frameText(frames[i]);
    return out;
}
