// A scripted camera on the master side of a pseudo-terminal, driven by the test's event
// loop: it records every request frame the tool wrote and answers through a script.
#pragma once

#include "link/frame.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QSocketNotifier;

class PtyPeer : public QObject
{
    Q_OBJECT
public:
    PtyPeer();
    ~PtyPeer() override;

    // The slave device the tool opens.
    QString path() const { return path_; }
    // The line speed the tool set on its side (0 when unknown).
    int toolBaud() const;
    bool toolTwoStopBits() const;

    // Requests received so far (7-byte frames, checksum not required to be valid).
    QList<Frame7> requests;
    // Answers a request; std::nullopt stays silent. Default: echo category and item with
    // zero data. Only answered while the tool's speed equals answerBaud (0: any speed).
    std::function<std::optional<Frame7>(const Frame7 &)> script;
    int answerBaud = 0;

    // Raw bytes to the tool.
    void sendRaw(const QByteArray &bytes);
    void sendFrame(uint8_t category, uint8_t item, uint8_t d1 = 0, uint8_t d2 = 0, uint8_t d3 = 0);
    // Closes the master side: the tool sees its device go away.
    void hangUp();

    // The frame text of request i, for readable failures.
    QString requestText(int i) const;
    // Requests whose category and item match.
    int countOf(uint8_t category, uint8_t item) const;

    static Frame7 reply(uint8_t category, uint8_t item, uint8_t d1 = 0, uint8_t d2 = 0, uint8_t d3 = 0);

private:
    void onReadable();

    int master_ = -1;
    QString path_;
    QSocketNotifier *notifier_ = nullptr;
    QByteArray pending_;
};
