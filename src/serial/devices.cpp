#include "serial/devices.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {

bool isCharDevice(const std::string &path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

std::vector<std::string> entriesOf(const std::string &dir)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string firstLineOf(const std::string &path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// The kernel keeps ttyS entries for ports that have no UART behind them: type 0.
bool hasNoPort(const SerialDevices::Roots &roots, const std::string &name)
{
    return firstLineOf(roots.sys + "/class/tty/" + name + "/type") == "0";
}

// Names "<prefix><digits>" in number order.
std::vector<std::string> family(const SerialDevices::Roots &roots, const std::vector<std::string> &names,
                                const std::string &prefix)
{
    std::vector<std::pair<unsigned long, std::string>> found;
    for (const std::string &name : names) {
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string digits = name.substr(prefix.size());
        if (digits.size() > 6 || !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
            continue;
        const std::string path = roots.dev + "/" + name;
        if (!isCharDevice(path) || (prefix == "ttyS" && hasNoPort(roots, name)))
            continue;
        found.emplace_back(std::stoul(digits), path);
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> paths;
    for (auto &f : found)
        paths.push_back(std::move(f.second));
    return paths;
}

std::string groupName(gid_t gid)
{
    std::vector<char> buf(16384);
    struct group gr {};
    struct group *found = nullptr;
    if (getgrgid_r(gid, &gr, buf.data(), buf.size(), &found) == 0 && found)
        return found->gr_name;
    return std::to_string(gid);
}

std::string userName(uid_t uid, gid_t *primary = nullptr)
{
    std::vector<char> buf(16384);
    struct passwd pw {};
    struct passwd *found = nullptr;
    if (getpwuid_r(uid, &pw, buf.data(), buf.size(), &found) == 0 && found) {
        if (primary)
            *primary = found->pw_gid;
        return found->pw_name;
    }
    return std::to_string(uid);
}

bool processHasGroup(gid_t gid)
{
    if (getegid() == gid)
        return true;
    std::vector<gid_t> groups(size_t(std::max(getgroups(0, nullptr), 0)));
    const int n = groups.empty() ? 0 : getgroups(int(groups.size()), groups.data());
    return n > 0 && std::find(groups.begin(), groups.begin() + n, gid) != groups.begin() + n;
}

// The user's groups as the group database has them now, which a running session may not.
bool userListedInGroup(gid_t gid)
{
    gid_t primary = 0;
    const std::string name = userName(geteuid(), &primary);
    int n = 64;
    std::vector<gid_t> groups(64);
    if (getgrouplist(name.c_str(), primary, groups.data(), &n) < 0) {
        groups.resize(size_t(std::max(n, 0)));
        if (getgrouplist(name.c_str(), primary, groups.data(), &n) < 0)
            return false;
    }
    return n > 0 && std::find(groups.begin(), groups.begin() + n, gid) != groups.begin() + n;
}

std::string presentDevices(const SerialDevices::Roots &roots)
{
    const std::vector<std::string> present = SerialDevices::scan(roots);
    if (present.empty())
        return "No serial device is present: plug the adapter in, or check that its driver is loaded.";
    constexpr size_t shown = 12;
    std::string text = "Serial devices present: ";
    for (size_t i = 0; i < present.size() && i < shown; ++i)
        text += (i ? ", " : "") + present[i];
    if (present.size() > shown)
        text += ", …";
    return text + ". Choose one of them for this port in the port chooser, then press Cancel to try again.";
}

std::string realPath(const std::string &path)
{
    char buf[PATH_MAX];
    return ::realpath(path.c_str(), buf) ? std::string(buf) : path;
}

std::string baseName(const std::string &path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string permissionHelp(const std::string &path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    const std::string group = groupName(st.st_gid);
    if ((st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP)) {
        if (processHasGroup(st.st_gid))
            return "This session already belongs to the group \"" + group + "\" that may use " + path
                + ", yet access was refused: ask the administrator to check the device's access rules.";
        if (userListedInGroup(st.st_gid))
            return "You were added to the group \"" + group + "\" after this session began: log out and in again.";
        return "Only members of the group \"" + group + "\" may use " + path + ": run sudo usermod -aG " + group
            + " $USER, then log out and in again.";
    }
    return "The device allows only its owner \"" + userName(st.st_uid)
        + "\" to use it, so joining a group does not help: a udev rule is needed, for example a file "
          "/etc/udev/rules.d/60-orvik.rules with the line KERNEL==\""
        + baseName(realPath(path)) + "\", GROUP=\"dialout\", MODE=\"0660\" (then replug the device and join the group \"dialout\").";
}

} // namespace

namespace SerialDevices {

std::vector<std::string> scan(const Roots &roots)
{
    std::vector<std::string> paths;
    const std::string byId = roots.dev + "/serial/by-id";
    for (const std::string &name : entriesOf(byId)) {
        if (isCharDevice(byId + "/" + name))
            paths.push_back(byId + "/" + name);
    }
    const std::vector<std::string> names = entriesOf(roots.dev);
    for (const char *prefix : {"ttyUSB", "ttyACM", "ttyS"}) {
        std::vector<std::string> more = family(roots, names, prefix);
        paths.insert(paths.end(), more.begin(), more.end());
    }
    return paths;
}

std::vector<std::string> holders(const std::string &path)
{
    const std::string target = realPath(path);
    std::vector<std::string> found;
    for (const std::string &pid : entriesOf("/proc")) {
        if (!std::all_of(pid.begin(), pid.end(), [](unsigned char c) { return std::isdigit(c); }))
            continue;
        const std::string fdDir = "/proc/" + pid + "/fd";
        for (const std::string &fd : entriesOf(fdDir)) {
            char link[PATH_MAX];
            const ssize_t n = ::readlink((fdDir + "/" + fd).c_str(), link, sizeof link - 1);
            if (n <= 0 || std::string(link, size_t(n)) != target)
                continue;
            std::string name = firstLineOf("/proc/" + pid + "/comm");
            found.push_back((name.empty() ? std::string("a program") : name) + " (process " + pid + ")");
            break;
        }
    }
    return found;
}

} // namespace SerialDevices

std::string openErrorHelp(const std::string &path, int err, const SerialDevices::Roots &roots)
{
    switch (err) {
    case ENOENT:
        return "There is no such device. " + presentDevices(roots);
    case ENXIO:
    case ENODEV:
    case EIO:
        return "The device exists but no port answers behind it (no such hardware, or the adapter was unplugged). "
            + presentDevices(roots);
    case ENOTTY:
    case EISDIR: {
        struct stat st {};
        const bool known = ::stat(path.c_str(), &st) == 0;
        const char *what = known && S_ISDIR(st.st_mode) ? " is a folder, not a serial device. "
            : known && S_ISREG(st.st_mode)              ? " is a regular file, not a serial device. "
                                                        : " is not a serial device. ";
        return path + what + presentDevices(roots);
    }
    case EBUSY: {
        const std::vector<std::string> who = SerialDevices::holders(path);
        if (who.empty())
            return "Another program holds " + path
                + ", but it could not be named (it may run as another user): close it, then press Cancel to try again.";
        std::string names;
        for (size_t i = 0; i < who.size(); ++i)
            names += (i ? ", " : "") + who[i];
        return "Another program holds " + path + ": " + names + ". Close it, then press Cancel to try again.";
    }
    case EACCES:
    case EPERM:
        return permissionHelp(path);
    default:
        return {};
    }
}
