// The texture option: textureCacheSize = half the display memory that DirectDraw reports.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/option_mask.h"
#include "config/write_result.h"

namespace kelvane {

// The driver's total display memory in bytes (DDCAPS dwVidMemTotal), or nothing when DirectDraw cannot say.
std::optional<std::uint32_t> QueryVideoMemory();

using VideoMemoryQuery = std::optional<std::uint32_t> (*)();

// The value text written for a total: half of it, in decimal between double quotes.
std::wstring TextureCacheValue(std::uint32_t totalVideoMemory);

// flag kRead (0) sets kOptionTextureCache exactly when textureCacheSize holds any non-empty value and succeeds;
// any other flag writes the bit's state and succeeds when the file now matches, otherwise names why it does not.
// `query` is a seam for tests.
WriteResult TextureCacheTweak(OptionMask& options, const std::wstring& configPath, int flag,
                       VideoMemoryQuery query = &QueryVideoMemory);

}  // namespace kelvane
