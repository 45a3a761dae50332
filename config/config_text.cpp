// The config.wtf text rules: setting lines, entry splitting, and the written form.
#include "config/config_text.h"

#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kelvane {
namespace {

constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';
constexpr char kSpace = ' ';
constexpr char kTab = '\t';

// LF counts as a blank although lines are cut at it: a stripped line can still begin with one.
constexpr bool IsBlank(char c) { return c == kSpace || c == kTab || c == kLineFeed; }
constexpr bool IsSetLetter(char c) { return c == 'S' || c == 'E' || c == 'T'; }

// Byte searches eight bytes at a time: the C library's memchr under Wine looks at one byte per step, and every
// byte of the file passes through these.
constexpr std::uint64_t kEveryByte = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

constexpr std::uint64_t Broadcast(char c) { return kEveryByte * static_cast<unsigned char>(c); }
// Non-zero exactly when one of the eight bytes of `word` is 0 (bytes above the first zero may be marked too).
constexpr std::uint64_t HasZeroByte(std::uint64_t word) { return (word - kEveryByte) & ~word & kHighBits; }
// The high bit of every zero byte of `word`, and of no other: exact, so the bits can be counted.
constexpr std::uint64_t ZeroBytes(std::uint64_t word)
{
    constexpr std::uint64_t kLowBits = ~kHighBits;
    return ~(((word & kLowBits) + kLowBits) | word | kLowBits);
}

std::uint64_t LoadWord(const char* p)
{
    std::uint64_t word;
    std::memcpy(&word, p, sizeof(word));
    return word;
}

// The first byte in [p, end) equal to a, b or c, or end. The lowest marked byte of HasZeroByte is always a true
// zero, so the trailing zero bits of the marks give its place (Windows is little-endian).
const char* FindAny(const char* p, const char* end, char a, char b, char c)
{
#ifdef __SSE2__
    // Sixteen bytes a step where the processor has SSE2 (every x64 one): each line costs two or three steps.
    const __m128i vectorA = _mm_set1_epi8(a);
    const __m128i vectorB = _mm_set1_epi8(b);
    const __m128i vectorC = _mm_set1_epi8(c);
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i equal = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, vectorA), _mm_cmpeq_epi8(bytes, vectorB)),
                                           _mm_cmpeq_epi8(bytes, vectorC));
        if (const int marks = _mm_movemask_epi8(equal))
            return p + __builtin_ctz(static_cast<unsigned>(marks));
    }
#endif
    const std::uint64_t patternA = Broadcast(a);
    const std::uint64_t patternB = Broadcast(b);
    const std::uint64_t patternC = Broadcast(c);
    for (; end - p >= 8; p += 8) {
        const std::uint64_t word = LoadWord(p);
        const std::uint64_t marks =
            HasZeroByte(word ^ patternA) | HasZeroByte(word ^ patternB) | HasZeroByte(word ^ patternC);
        if (marks)
            return p + __builtin_ctzll(marks) / 8;
    }
    for (; p < end; ++p) {
        if (*p == a || *p == b || *p == c)
            return p;
    }
    return end;
}

const char* FindEither(const char* p, const char* end, char a, char b) { return FindAny(p, end, a, b, b); }
const char* FindByte(const char* p, const char* end, char c) { return FindAny(p, end, c, c, c); }

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

// Where the setting text of a line holding the marker starts: behind the leading S/E/T letters and blanks.
std::size_t SettingStart(std::string_view line)
{
    return SkipWhile(line, SkipWhile(line, 0, IsSetLetter), IsBlank);
}

// Calls `visit` with each line of `bytes` (LF dropped; the bytes behind the last LF form one more line) and the
// length up to its first CR. Each byte is looked at once: the search for the line's end stops at a CR first.
template <typename Visit>
void ForEachLine(std::string_view bytes, Visit visit)
{
    const char* const end = bytes.data() + bytes.size();
    const char* line = bytes.data();
    for (;;) {
        const char* const cut = FindEither(line, end, kCarriageReturn, kLineFeed);
        const char* const lineFeed = cut != end && *cut == kCarriageReturn ? FindByte(cut, end, kLineFeed) : cut;
        visit(std::string_view(line, static_cast<std::size_t>(lineFeed - line)),
              static_cast<std::size_t>(cut - line));
        if (lineFeed == end)
            return;
        line = lineFeed + 1;
    }
}

}  // namespace

std::optional<std::string_view> IsSettingLine(std::string_view line)
{
    if (!HoldsSetMarker(line))
        return std::nullopt;
    line.remove_prefix(SettingStart(line));
    const char* const end = line.data() + line.size();
    const char* const cut = FindEither(line.data(), end, kCarriageReturn, kLineFeed);
    return line.substr(0, static_cast<std::size_t>(cut - line.data()));
}

ConfigEntry ParseEntry(std::string_view stripped)
{
    const std::size_t nameStart = SkipWhile(stripped, 0, IsBlank);
    const char* const end = stripped.data() + stripped.size();
    const std::size_t nameEnd =
        static_cast<std::size_t>(FindAny(stripped.data() + nameStart, end, kSpace, kTab, kLineFeed) - stripped.data());
    const std::size_t valueStart = SkipWhile(stripped, nameEnd, IsBlank);
    return ConfigEntry{stripped.substr(nameStart, nameEnd - nameStart), stripped.substr(valueStart)};
}

std::size_t CountSettingLines(std::string_view bytes)
{
    std::size_t count = 0;
    ForEachLine(bytes, [&count](std::string_view line, std::size_t) { count += HoldsSetMarker(line); });
    return count;
}

std::size_t CountLineFeeds(std::string_view bytes)
{
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    std::size_t count = 0;
#ifdef __SSE2__
    const __m128i lineFeedVector = _mm_set1_epi8(kLineFeed);
    for (; end - p >= 16; p += 16) {
        const __m128i equal = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), lineFeedVector);
        count += static_cast<std::size_t>(__builtin_popcount(static_cast<unsigned>(_mm_movemask_epi8(equal))));
    }
#endif
    const std::uint64_t lineFeeds = Broadcast(kLineFeed);
    for (; end - p >= 8; p += 8)
        count += static_cast<std::size_t>(__builtin_popcountll(ZeroBytes(LoadWord(p) ^ lineFeeds)));
    for (; p < end; ++p)
        count += *p == kLineFeed;
    return count;
}

void AppendEntries(std::string_view bytes, std::vector<ConfigEntry>& entries)
{
    // A line cut out here holds no LF, so its first CR is where its setting text ends (the letters and blanks
    // stripped first are never CR): the same text IsSettingLine gives, without searching the line again.
    ForEachLine(bytes, [&entries](std::string_view line, std::size_t firstCr) {
        if (HoldsSetMarker(line)) {
            const std::size_t start = SettingStart(line);
            entries.push_back(ParseEntry(line.substr(start, firstCr - start)));
        }
    });
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
