#pragma once

#include <string>

// Full path of the running program file, as the system reports it (/proc/self/exe), bytes
// untouched. Falls back to the name the program was started by when /proc cannot tell.
std::string ProgramFilePath();

// The user's configuration directory: $XDG_CONFIG_HOME when it holds an absolute path, else
// the home directory's ".config". Never ends with "/" (except the root itself).
std::string ConfigurationDirectory();
