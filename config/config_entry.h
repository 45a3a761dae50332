// One setting of config.wtf: its name and whole value text, both as the bytes the file holds.
#pragma once

#include <string_view>

namespace kelvane {

// The bytes are not the entry's own: they stay in the document (or the text) the entry was read from, so reading
// a file of a million settings makes no allocation per setting. An entry is valid as long as those bytes are.
struct ConfigEntry {
    std::string_view name;    // bytes exactly as the file holds them
    std::string_view value;   // the whole value text, quotes and trailing blanks included
};

inline bool operator==(const ConfigEntry& a, const ConfigEntry& b) { return a.name == b.name && a.value == b.value; }
inline bool operator!=(const ConfigEntry& a, const ConfigEntry& b) { return !(a == b); }

}  // namespace kelvane
