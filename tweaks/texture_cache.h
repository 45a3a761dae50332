// The texture option: textureCacheSize = half the display memory that DirectDraw reports.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "common/option_mask.h"
#include "config/game_config_file.h"
#include "config/write_result.h"

namespace kelvane {

// The driver's total display memory in bytes (DDCAPS dwVidMemTotal), or nothing when DirectDraw cannot say.
std::optional<std::uint32_t> QueryVideoMemory();

using VideoMemoryQuery = std::optional<std::uint32_t> (*)();
// Where a write finds the total when the option is on; asked only then.
using VideoMemorySource = std::function<std::optional<std::uint32_t>()>;

// The value text written for a total: half of it, in decimal between double quotes.
std::wstring TextureCacheValue(std::uint32_t totalVideoMemory);

// On a loaded document: flag kRead (0) sets kOptionTextureCache exactly when textureCacheSize holds any non-empty
// value and succeeds; any other flag edits the document to hold the bit's state (nothing is saved). Without a
// figure for an option that is on, the document stays as it was and the answer names the failure.
WriteResult TextureCacheTweak(OptionMask& options, GameConfigFile& document, int flag,
                              const VideoMemorySource& videoMemory);

}  // namespace kelvane
