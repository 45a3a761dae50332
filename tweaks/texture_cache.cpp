// The texture option: textureCacheSize in config.wtf, read back as on whenever it holds anything.
#include "tweaks/texture_cache.h"

#include <cwchar>
#include <iterator>

namespace kelvane {
namespace {

constexpr wchar_t kTextureCacheSize[] = L"textureCacheSize";
constexpr wchar_t kTextureCacheFormat[] = L"\"%d\"";

}  // namespace

std::wstring TextureCacheValue(std::uint32_t totalVideoMemory)
{
    // The unsigned shift keeps the half below 2^31, so it always prints as a positive int.
    const std::uint32_t half = totalVideoMemory >> 1;
    wchar_t text[16];
    std::swprintf(text, std::size(text), kTextureCacheFormat, static_cast<int>(half));
    return text;
}

WriteResult TextureCacheTweak(OptionMask& options, GameConfigFile& document, int flag,
                              const VideoMemorySource& videoMemory)
{
    std::wstring value;
    if (flag == kRead) {
        document.GetValue(kTextureCacheSize, value);
        options = WithBit(options, kOptionTextureCache, !value.empty());
        return WriteResult();
    }
    // The empty value drops the line at the save.
    if (options & kOptionTextureCache) {
        const std::optional<std::uint32_t> total = videoMemory ? videoMemory() : std::nullopt;
        if (!total)
            return FailureCause::NoVideoMemory;   // no figure is better than an invented one: the document stays as it is
        value = TextureCacheValue(*total);
    }
    document.SetValue(kTextureCacheSize, value.c_str());
    return WriteResult();
}

}  // namespace kelvane
