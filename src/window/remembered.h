// What the tool keeps between runs: the device of each port and the window sizes. Only a
// program that names its settings store (organisation and application name) keeps anything;
// the tests and the screenshot tool, which do not, start alike every time.
#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace Remembered {

// The store, or null when the program named none.
std::unique_ptr<QSettings> store();

// Sets the device of every port that has one remembered.
void loadPortDevices();
// Remembers the device of port 1..4; an empty path forgets it.
void savePortDevice(int port, const QString &path);

} // namespace Remembered
