// The camera's non-volatile contents (stored settings, title, EEPROM 1, EEPROM 2, DSP EEPROM, lens
// presets) in a JSON text file, so a simulated camera keeps what was written to it across runs.
#pragma once

#include <QString>

namespace camsim {

class Camera;

// Writes the file atomically. False with a message on failure.
bool saveState(const Camera &camera, const QString &path, QString *error = nullptr);
// Reads the file and powers the camera on with it. Keys missing from the file keep their
// current values; an unreadable or malformed file changes nothing and gives false.
bool loadState(Camera &camera, const QString &path, QString *error = nullptr);

} // namespace camsim
