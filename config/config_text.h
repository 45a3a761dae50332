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

// Splits a stripped setting line into its name (up to the first blank) and everything behind the blanks after it.
ConfigEntry ParseEntry(std::string_view stripped);

// How many lines of `bytes` (cut at LF) are setting lines: the entries that reading them will append.
std::size_t CountSettingLines(std::string_view bytes);

// Cuts bytes handed over in pieces into lines at LF and appends one entry per setting line as soon as its line
// is complete. On running out of memory the entries appended so far stay.
class EntryReader {
public:
    explicit EntryReader(std::vector<ConfigEntry>& entries) : entries_(entries) {}
    void Feed(std::string_view bytes);
    // The bytes behind the last LF form one more line.
    void Finish();

private:
    void ReadLine(std::string_view line);

    std::vector<ConfigEntry>& entries_;
    std::string partialLine_;   // the start of a line whose LF has not been fed yet
};

// All of `bytes` through an EntryReader, with room for the new entries made first.
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
