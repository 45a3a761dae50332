// The config.wtf text rules: setting lines, entry splitting, and the written form.
#include "config/config_text.h"

#include <cstdint>
#include <cstring>

namespace kelvane {
namespace {

constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';

// LF counts as a blank although lines are cut at it: a stripped line can still begin with one.
constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
constexpr bool IsSetLetter(char c) { return c == 'S' || c == 'E' || c == 'T'; }

// Byte searches eight bytes at a time: the C library's memchr under Wine looks at one byte per step, and every
// byte of the file passes through these.
constexpr std::uint64_t kEveryByte = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

constexpr std::uint64_t Broadcast(char c) { return kEveryByte * static_cast<unsigned char>(c); }
// Non-zero exactly when one of the eight bytes of `word` is 0.
constexpr std::uint64_t HasZeroByte(std::uint64_t word) { return (word - kEveryByte) & ~word & kHighBits; }

std::uint64_t LoadWord(const char* p)
{
    std::uint64_t word;
    std::memcpy(&word, p, sizeof(word));
    return word;
}

// The first byte in [p, end) equal to a or b, or end.
const char* FindEither(const char* p, const char* end, char a, char b)
{
    const std::uint64_t patternA = Broadcast(a);
    const std::uint64_t patternB = Broadcast(b);
    for (; end - p >= 8; p += 8) {
        const std::uint64_t word = LoadWord(p);
        if (HasZeroByte(word ^ patternA) | HasZeroByte(word ^ patternB))
            break;
    }
    for (; p < end; ++p) {
        if (*p == a || *p == b)
            return p;
    }
    return end;
}

const char* FindByte(const char* p, const char* end, char c) { return FindEither(p, end, c, c); }

bool HoldsSetMarker(std::string_view line)
{
    const char* const end = line.data() + line.size();
    for (const char* p = line.data(); (p = FindByte(p, end, kSetMarker[0])) != end; ++p) {
        if (static_cast<std::size_t>(end - p) >= kSetMarker.size() &&
            std::memcmp(p, kSetMarker.data(), kSetMarker.size()) == 0)
            return true;
    }
    return false;
}

template <typename Predicate>
std::size_t SkipWhile(std::string_view text, std::size_t pos, Predicate matches)
{
    while (pos < text.size() && matches(text[pos]))
        ++pos;
    return pos;
}

struct EntryText {
    std::string_view name;
    std::string_view value;
};

EntryText SplitEntry(std::string_view stripped)
{
    const std::size_t nameStart = SkipWhile(stripped, 0, IsBlank);
    const std::size_t nameEnd = SkipWhile(stripped, nameStart, [](char c) { return !IsBlank(c); });
    const std::size_t valueStart = SkipWhile(stripped, nameEnd, IsBlank);
    return EntryText{stripped.substr(nameStart, nameEnd - nameStart), stripped.substr(valueStart)};
}

// Calls `visit` with each complete line of `bytes`, LF dropped, and returns the bytes behind the last LF.
template <typename Visit>
std::string_view ForEachLine(std::string_view bytes, Visit visit)
{
    const char* const end = bytes.data() + bytes.size();
    const char* line = bytes.data();
    for (const char* lineFeed; (lineFeed = FindByte(line, end, kLineFeed)) != end; line = lineFeed + 1)
        visit(std::string_view(line, static_cast<std::size_t>(lineFeed - line)));
    return std::string_view(line, static_cast<std::size_t>(end - line));
}

}  // namespace

std::optional<std::string_view> IsSettingLine(std::string_view line)
{
    if (!HoldsSetMarker(line))
        return std::nullopt;
    std::size_t start = SkipWhile(line, 0, IsSetLetter);
    start = SkipWhile(line, start, IsBlank);
    line.remove_prefix(start);
    const char* const end = line.data() + line.size();
    const char* const cut = FindEither(line.data(), end, kCarriageReturn, kLineFeed);
    return line.substr(0, static_cast<std::size_t>(cut - line.data()));
}

ConfigEntry ParseEntry(std::string_view stripped)
{
    const EntryText text = SplitEntry(stripped);
    return ConfigEntry{std::string(text.name), std::string(text.value)};
}

std::size_t CountSettingLines(std::string_view bytes)
{
    std::size_t count = 0;
    const std::string_view last = ForEachLine(bytes, [&](std::string_view line) { count += HoldsSetMarker(line); });
    return count + HoldsSetMarker(last);
}

void EntryReader::Feed(std::string_view bytes)
{
    if (!partialLine_.empty()) {
        const char* const lineFeed = FindByte(bytes.data(), bytes.data() + bytes.size(), kLineFeed);
        const std::size_t head = static_cast<std::size_t>(lineFeed - bytes.data());
        partialLine_.append(bytes.data(), head);
        if (head == bytes.size())
            return;
        ReadLine(partialLine_);
        partialLine_.clear();
        bytes.remove_prefix(head + 1);
    }
    const std::string_view rest = ForEachLine(bytes, [this](std::string_view line) { ReadLine(line); });
    partialLine_.assign(rest.data(), rest.size());
}

void EntryReader::Finish()
{
    if (!partialLine_.empty())
        ReadLine(partialLine_);
    partialLine_.clear();
}

void EntryReader::ReadLine(std::string_view line)
{
    if (const std::optional<std::string_view> stripped = IsSettingLine(line)) {
        const EntryText text = SplitEntry(*stripped);
        // Made whole before it is appended, so a failed allocation never leaves half an entry behind.
        ConfigEntry entry{std::string(text.name), std::string(text.value)};
        entries_.push_back(std::move(entry));
    }
}

void AppendEntries(std::string_view bytes, std::vector<ConfigEntry>& entries)
{
    // Counting first lets the array grow once instead of moving every entry on each doubling.
    entries.reserve(entries.size() + CountSettingLines(bytes));
    EntryReader reader(entries);
    reader.Feed(bytes);
    reader.Finish();
}

std::string WrittenForm(const std::vector<ConfigEntry>& entries)
{
    std::string out;
    PutWrittenForm(entries, [&out](std::string_view piece) {
        out += piece;
        return true;
    });
    return out;
}

}  // namespace kelvane
