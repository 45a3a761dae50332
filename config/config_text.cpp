// The config.wtf text rules: setting lines, entry splitting, and the written form.
#include "config/config_text.h"

#include <cstring>

namespace kelvane {
namespace {

constexpr std::string_view kSetMarker = "SET ";
constexpr std::string_view kLineEnd = "\r\n";
constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';

// LF counts as a blank although lines are cut at it: a stripped line can still begin with one.
constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
constexpr bool IsSetLetter(char c) { return c == 'S' || c == 'E' || c == 'T'; }

template <typename Predicate>
std::size_t SkipWhile(std::string_view text, std::size_t pos, Predicate matches)
{
    while (pos < text.size() && matches(text[pos]))
        ++pos;
    return pos;
}

std::size_t WrittenSize(const std::vector<ConfigEntry>& entries)
{
    std::size_t size = 0;
    for (const ConfigEntry& entry : entries) {
        if (!entry.value.empty())
            size += kSetMarker.size() + entry.name.size() + 1 + entry.value.size() + kLineEnd.size();
    }
    return size;
}

// Calls `visit` with each line of `bytes`, LF dropped; the bytes behind the last LF form one more line.
template <typename Visit>
void ForEachLine(std::string_view bytes, Visit visit)
{
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    for (const char* line = begin; line < end;) {
        const void* found = std::memchr(line, kLineFeed, static_cast<std::size_t>(end - line));
        const char* lineEnd = found ? static_cast<const char*>(found) : end;
        visit(std::string_view(line, static_cast<std::size_t>(lineEnd - line)));
        line = lineEnd + 1;
    }
}

}  // namespace

std::optional<std::string_view> IsSettingLine(std::string_view line)
{
    if (line.find(kSetMarker) == std::string_view::npos)
        return std::nullopt;
    std::size_t start = SkipWhile(line, 0, IsSetLetter);
    start = SkipWhile(line, start, IsBlank);
    line.remove_prefix(start);
    std::size_t cut = 0;
    while (cut < line.size() && line[cut] != kCarriageReturn && line[cut] != kLineFeed)
        ++cut;
    return line.substr(0, cut);
}

ConfigEntry ParseEntry(std::string_view stripped)
{
    const std::size_t nameStart = SkipWhile(stripped, 0, IsBlank);
    const std::size_t nameEnd = SkipWhile(stripped, nameStart, [](char c) { return !IsBlank(c); });
    const std::size_t valueStart = SkipWhile(stripped, nameEnd, IsBlank);
    return ConfigEntry{std::string(stripped.substr(nameStart, nameEnd - nameStart)),
                       std::string(stripped.substr(valueStart))};
}

void AppendEntries(std::string_view bytes, std::vector<ConfigEntry>& entries)
{
    // Counting first lets the array grow once instead of moving every entry on each doubling.
    std::size_t settingLines = 0;
    ForEachLine(bytes, [&](std::string_view line) {
        if (line.find(kSetMarker) != std::string_view::npos)
            ++settingLines;
    });
    entries.reserve(entries.size() + settingLines);
    ForEachLine(bytes, [&](std::string_view line) {
        if (const std::optional<std::string_view> stripped = IsSettingLine(line))
            entries.push_back(ParseEntry(*stripped));
    });
}

std::string WrittenForm(const std::vector<ConfigEntry>& entries)
{
    std::string out;
    out.reserve(WrittenSize(entries));
    for (const ConfigEntry& entry : entries) {
        if (entry.value.empty())
            continue;
        out.append(kSetMarker).append(entry.name).append(1, ' ').append(entry.value).append(kLineEnd);
    }
    return out;
}

}  // namespace kelvane
