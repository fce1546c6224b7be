#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The mount points of every mounted filesystem backed by a local, non-removable block
// device, in mount order, each device once: what stands for "every fixed drive" here.
// mountinfo is the text of /proc/self/mountinfo; isFixed answers for a mount's source and
// its device number ("major:minor").
std::vector<std::string> FixedDriveRoots(
    std::string_view mountinfo,
    const std::function<bool(const std::string& source, const std::string& device)>& isFixed);

// The same for the running system.
std::vector<std::string> FixedDriveRoots();
