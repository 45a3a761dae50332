// One setting of config.wtf: its name and whole value text, both as the bytes the file holds.
#pragma once

#include <string>

namespace kelvane {

struct ConfigEntry {
    std::string name;    // bytes exactly as the file holds them
    std::string value;   // the whole value text, quotes and trailing blanks included
};

inline bool operator==(const ConfigEntry& a, const ConfigEntry& b) { return a.name == b.name && a.value == b.value; }
inline bool operator!=(const ConfigEntry& a, const ConfigEntry& b) { return !(a == b); }

}  // namespace kelvane
