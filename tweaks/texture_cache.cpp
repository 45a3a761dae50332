// The texture option: textureCacheSize in config.wtf, read back as on whenever it holds anything.
#include "tweaks/texture_cache.h"

#include <cwchar>
#include <iterator>

#include "config/game_config_file.h"

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

WriteResult TextureCacheTweak(OptionMask& options, const std::wstring& configPath, int flag, VideoMemoryQuery query)
{
    GameConfigFile document;
    if (flag == kRead) {
        document.Load(configPath.c_str());
        std::wstring value;
        document.GetValue(kTextureCacheSize, value);
        options = WithBit(options, kOptionTextureCache, !value.empty());
        return WriteResult();
    }

    // A file that exists but was not read whole must not be replaced by what little was read of it.
    if (const WriteResult loaded = LoadForRewrite(document, configPath); !loaded)
        return loaded;
    std::wstring value;   // the empty value drops the line at the save
    if (options & kOptionTextureCache) {
        const std::optional<std::uint32_t> total = query ? query() : std::nullopt;
        if (!total)
            return FailureCause::NoVideoMemory;   // no figure is better than an invented one: the file stays as it is
        value = TextureCacheValue(*total);
    }
    document.SetValue(kTextureCacheSize, value.c_str());
    return document.Save();
}

}  // namespace kelvane
