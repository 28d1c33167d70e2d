// Request frames as tests write them down.
#pragma once

#include "link/frame.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <initializer_list>

// A request as the tool sends it to camera ID 0: up to five bytes in hex ("8110" or
// "86870A1F"), the rest zero, checksum filled in.
Frame7 requestFrame(const QByteArray &hex);
// The frame texts of such requests.
QStringList requestTexts(std::initializer_list<const char *> hexFrames);
// The frame texts of frames, from index `from` on.
QStringList texts(const QList<Frame7> &frames, qsizetype from = 0);
