// The config.wtf text rules: which lines are settings, how one splits, and the bytes a document is written as.
// Pure byte work: no Windows headers, no files, so the rules can be checked with string literals.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_entry.h"

namespace kelvane {

// The setting text of a line, with the leading S/E/T letters and blanks taken off and cut at the first CR or LF;
// nothing when the line holds no "SET " at all.
std::optional<std::string_view> IsSettingLine(std::string_view line);

// Splits a stripped setting line into its name (up to the first blank) and everything behind the blanks after it.
ConfigEntry ParseEntry(std::string_view stripped);

// Cuts `bytes` into lines at LF and appends one entry per setting line. On running out of memory the entries
// appended so far stay.
void AppendEntries(std::string_view bytes, std::vector<ConfigEntry>& entries);

// The file a document is saved as: "SET <name> <value>" CR LF per entry whose value is not empty, nothing else.
std::string WrittenForm(const std::vector<ConfigEntry>& entries);

}  // namespace kelvane
