#include "scan/FixedDrives.h"

#include <fstream>
#include <set>
#include <sstream>

#include <sys/stat.h>

namespace {

// mountinfo writes blanks, tabs, newlines and backslashes in paths as octal escapes.
std::string Unescape(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string digits = field.substr(i + 1, 3);
            if (digits.find_first_not_of("01234567") == std::string::npos) {
                out.push_back(static_cast<char>(std::stoi(digits, nullptr, 8)));
                i += 3;
                continue;
            }
        }
        out.push_back(field[i]);
    }
    return out;
}

// CD-ROMs, memory cards and USB sticks say so in sysfs (a partition, in its disk's folder).
bool IsRemovable(const std::string& device) {
    const std::string base = "/sys/dev/block/" + device;
    for (const char* file : {"/removable", "/../removable"}) {
        std::ifstream flag(base + file);
        char value = '0';
        if (flag >> value) {
            return value == '1';
        }
    }
    return false;
}

} // namespace

std::vector<std::string> FixedDriveRoots(
    std::string_view mountinfo,
    const std::function<bool(const std::string& source, const std::string& device)>& isFixed) {
    std::vector<std::string> roots;
    std::set<std::string> devices;
    std::istringstream lines{std::string(mountinfo)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string id, parent, device, root, mountPoint, field;
        if (!(fields >> id >> parent >> device >> root >> mountPoint)) {
            continue;
        }
        // Optional fields run up to a lone "-"; then the type and the source.
        while (fields >> field && field != "-") {
        }
        std::string type, source;
        if (field != "-" || !(fields >> type >> source)) {
            continue;
        }
        if (!isFixed(Unescape(source), device) || !devices.insert(device).second) {
            continue;
        }
        roots.push_back(Unescape(mountPoint));
    }
    return roots;
}

std::vector<std::string> FixedDriveRoots() {
    std::ifstream file("/proc/self/mountinfo");
    std::stringstream text;
    text << file.rdbuf();
    return FixedDriveRoots(text.str(), [](const std::string& source, const std::string& device) {
        struct stat st;
        return ::stat(source.c_str(), &st) == 0 && S_ISBLK(st.st_mode) && !IsRemovable(device);
    });
}
