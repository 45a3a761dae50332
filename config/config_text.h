// The config.wtf text rules: which lines are settings, how one splits, and the bytes a document is written as.
// Pure byte work: no Windows headers, no files, so the rules can be checked with string literals.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_entry.h"

namespace kelvane {

// The setting text of a line, with the leading S/E/T letters and blanks taken off and cut at the first CR or LF;
// nothing when the line holds no "SET " at all.
std::optional<std::string_view> IsSettingLine(std::string_view line);

// Splits a stripped setting line into its name (up to the first blank) and everything behind the blanks after it;
// the entry views the bytes of `stripped`.
ConfigEntry ParseEntry(std::string_view stripped);

// How many lines of `bytes` (cut at LF) are setting lines: the entries that reading them will append.
std::size_t CountSettingLines(std::string_view bytes);

// How many LF bytes `bytes` holds: one less than the most lines, and so entries, it can give.
std::size_t CountLineFeeds(std::string_view bytes);

// Cuts `bytes` into lines at LF (the bytes behind the last LF form one more line) and appends one entry per setting
// line, viewing `bytes`. Running out of memory keeps the entries appended before.
void AppendEntries(std::string_view bytes, std::vector<ConfigEntry>& entries);

// The file a document is saved as: "SET <name> <value>" CR LF per entry whose value is not empty, nothing else.
inline constexpr std::string_view kSetMarker = "SET ";
inline constexpr std::string_view kNameValueGap = " ";
inline constexpr std::string_view kLineEnd = "\r\n";

// Hands the written form to `put` piece by piece, straight from the entries' bytes, so no copy of the whole text
// is ever made; stops at the first piece `put` refuses and returns false then.
template <typename Put>
bool PutWrittenForm(const std::vector<ConfigEntry>& entries, Put&& put)
{
    for (const ConfigEntry& entry : entries) {
        if (entry.value.empty())
            continue;
        if (!put(kSetMarker) || !put(std::string_view(entry.name)) || !put(kNameValueGap) ||
            !put(std::string_view(entry.value)) || !put(kLineEnd))
            return false;
    }
    return true;
}

std::string WrittenForm(const std::vector<ConfigEntry>& entries);

}  // namespace kelvane
