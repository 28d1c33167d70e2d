// The serial devices present on this machine, and plain help for a device that would not
// open. No Qt here.
#pragma once

#include <string>
#include <vector>

namespace SerialDevices {

// Where to look; tests point these at a folder of their own.
struct Roots
{
    std::string dev = "/dev";
    std::string sys = "/sys";
};

// The serial devices present: the links in serial/by-id that lead to a device, then
// ttyUSB*, ttyACM* and ttyS*, each family in number order. Only character devices count,
// and a ttyS whose kernel entry says it has no port behind it is left out.
std::vector<std::string> scan(const Roots &roots = {});

// The programs that hold path open, as "name (process 123)"; only those this user may see.
std::vector<std::string> holders(const std::string &path);

} // namespace SerialDevices

// One plain sentence on why path did not open with the given errno, and what to do about
// it; empty when there is nothing useful to add.
std::string openErrorHelp(const std::string &path, int err, const SerialDevices::Roots &roots = {});
