// UTF-16 units to config.wtf bytes and back, one unit at a time, never reading past the value.
#include "config/utf8.h"

#include <cstdint>

namespace kelvane {
namespace {

static_assert(sizeof(wchar_t) == 2, "the dialog's text is UTF-16");

constexpr wchar_t kReplacement = L'?';

// The low six bits that a byte behind a lead byte contributes, continuation byte or not.
constexpr unsigned Low6(unsigned char b) { return b & 0x3Fu; }

}  // namespace

std::string EncodeUtf8(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const wchar_t ch : text) {
        const auto u = static_cast<std::uint16_t>(ch);
        if (u == 0)
            break;
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
        } else if (u < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (u >> 6)));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (u >> 12)));
            out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        }
    }
    return out;
}

std::wstring DecodeUtf8(std::string_view bytes)
{
    std::wstring out;
    out.reserve(bytes.size());
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto b0 = static_cast<unsigned char>(bytes[pos]);
        const std::size_t left = bytes.size() - pos;
        if (b0 == 0)
            break;
        if (b0 < 0x80) {
            out.push_back(static_cast<wchar_t>(b0));
            pos += 1;
        } else if (b0 < 0xC0) {
            out.push_back(kReplacement);
            pos += 1;
        } else if (b0 < 0xF0) {
            const std::size_t length = b0 < 0xE0 ? 2 : 3;
            if (left < length) {   // cut off by the end of the value: its missing bytes are not ours to read
                out.push_back(kReplacement);
                break;
            }
            const auto b1 = static_cast<unsigned char>(bytes[pos + 1]);
            unsigned unit;
            if (length == 2) {
                unit = ((b0 & 0x1Fu) << 6) | Low6(b1);
            } else {
                const auto b2 = static_cast<unsigned char>(bytes[pos + 2]);
                unit = ((b0 & 0x0Fu) << 12) | (Low6(b1) << 6) | Low6(b2);
            }
            out.push_back(static_cast<wchar_t>(unit));
            pos += length;
        } else {
            // Code points beyond the 16-bit range are not decoded; the whole sequence stands for one '?'.
            out.push_back(kReplacement);
            pos += b0 < 0xF8 ? 4 : b0 < 0xFC ? 5 : 6;
        }
    }
    return out;
}

}  // namespace kelvane
