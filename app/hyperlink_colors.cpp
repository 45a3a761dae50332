// The link colours: the browser's "Anchor Color" settings and the red,green,blue text they are stored as.
#include "app/hyperlink_control.h"

#include <cstdint>
#include <cwctype>

#include "common/registry.h"

namespace kelvane {
namespace {

constexpr wchar_t kBrowserSettingsKey[] = L"Software\\Microsoft\\Internet Explorer\\Settings";
constexpr wchar_t kLinkColorValue[] = L"Anchor Color";
constexpr wchar_t kVisitedColorValue[] = L"Anchor Color Visited";
constexpr REGSAM kBrowserSettingsAccess = KEY_READ | KEY_WRITE;   // 0x2001F, as the browser's own settings use
constexpr DWORD kColorTextCapacity = 12;                          // "255,255,255" and its terminator
constexpr long kAbsentComponent = -1;
constexpr int kComponentsBeforeLast = 2;

// Leading white space, an optional sign, then digits up to the first other character; no digits give 0.
// Like atoi there is no overflow check: the value wraps (computed unsigned, so it never overflows a signed type).
long ParseDecimal(const wchar_t* text)
{
    while (*text != L'\0' && std::iswspace(*text))
        ++text;
    bool negative = false;
    if (*text == L'+' || *text == L'-') {
        negative = *text == L'-';
        ++text;
    }
    std::uint32_t value = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text)
        value = value * 10u + static_cast<std::uint32_t>(*text - L'0');
    if (negative)
        value = 0u - value;
    return static_cast<long>(static_cast<std::int32_t>(value));
}

}  // namespace

COLORREF HyperLinkControl::ParseColorText(wchar_t* text)
{
    if (!text)
        return kInvalidColor;
    long components[3] = {kAbsentComponent, kAbsentComponent, kAbsentComponent};
    wchar_t* position = text;
    for (int index = 0; index < kComponentsBeforeLast; ++index) {
        wchar_t* scan = position;
        while (*scan != L'\0' && *scan != L',')
            scan = CharNextW(scan);
        if (*scan == L',') {
            *scan = L'\0';
            components[index] = ParseDecimal(position);
            position = scan + 1;
        }
        // A component that is missing, or written as -1, makes the whole text invalid.
        if (components[index] == kAbsentComponent)
            return kInvalidColor;
    }
    if (*position == L'\0')
        return kInvalidColor;
    components[2] = ParseDecimal(position);
    return (static_cast<COLORREF>(components[2]) & 0xFF) << 16 | (static_cast<COLORREF>(components[1]) & 0xFF) << 8 |
           (static_cast<COLORREF>(components[0]) & 0xFF);
}

void HyperLinkControl::ReadLinkColors()
{
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kBrowserSettingsKey, 0, kBrowserSettingsAccess, key.put()) != ERROR_SUCCESS)
        return;
    const auto readColor = [&key](const wchar_t* valueName, COLORREF& color) {
        wchar_t text[kColorTextCapacity] = {};
        DWORD count = kColorTextCapacity;
        if (QueryRegistryString(key.get(), valueName, text, count) != ERROR_SUCCESS)
            return;
        const COLORREF parsed = ParseColorText(text);
        if (parsed != kInvalidColor)
            color = parsed;
    };
    readColor(kLinkColorValue, linkColor);
    readColor(kVisitedColorValue, visitedColor);
}

}  // namespace kelvane
