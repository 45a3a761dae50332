// The five option bits and the read/write flag that every option accessor takes.
#pragma once

#include <cstdint>

namespace kelvane {

using OptionMask = std::uint32_t;

// The system tweaks sit in the low half-word, the game's synchronizing switches in the high one.
constexpr OptionMask kOptionNetworkLatency = 0x00000001;
constexpr OptionMask kOptionTextureCache = 0x00000002;
constexpr OptionMask kOptionSyncConfig = 0x00010000;
constexpr OptionMask kOptionSyncBindings = 0x00020000;
constexpr OptionMask kOptionSyncMacros = 0x00040000;
// The options that live in the game's config.wtf.
constexpr OptionMask kGameFileOptions = kOptionTextureCache | kOptionSyncConfig | kOptionSyncBindings | kOptionSyncMacros;

// The accessors' flag: 0 reads the system into the mask, any other value writes the mask's bit to the system.
constexpr int kRead = 0;
constexpr int kWrite = 1;

constexpr OptionMask WithBit(OptionMask mask, OptionMask bit, bool on) { return on ? (mask | bit) : (mask & ~bit); }

}  // namespace kelvane
