// The orvik-camsim command line.
#pragma once

#include "ptycamera.h"

#include <QStringList>

namespace camsim {

struct CommandLine
{
    Options options;
    bool help = false;
    bool version = false;
    QString error;   // not empty: the arguments are unusable
};

// arguments[0] is the program name.
CommandLine parseCommandLine(const QStringList &arguments);
QString helpText();

// "86/01", "0x81/0x10", "90/*" -> category << 8 | item, item -1 for '*'.
std::optional<std::pair<uint8_t, int>> parseCategoryItem(const QString &text);
// "256,128,48" or "0x100,0x80,0x30,stuck" -> a defect; nullopt for anything else.
std::optional<PlantedDefect> parseDefect(const QString &text);
// "06", "41 06", "41,06", "4106" -> bytes; nullopt for anything else.
std::optional<QByteArray> parseHexBytes(const QString &text);

} // namespace camsim
