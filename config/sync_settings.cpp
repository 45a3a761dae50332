// The three "synchronize" accessors: one routine over the setting's name and its option bit.
#include "config/sync_settings.h"

#include "config/game_config_file.h"

namespace kelvane {
namespace {

// The quotes belong to the value text, as config.wtf stores it.
constexpr wchar_t kDisablingValue[] = L"\"0\"";
constexpr wchar_t kRemovedValue[] = L"";

struct SyncSetting {
    const wchar_t* name;
    OptionMask bit;
};

constexpr SyncSetting kSyncConfig{L"synchronizeConfig", kOptionSyncConfig};
constexpr SyncSetting kSyncBindings{L"synchronizeBindings", kOptionSyncBindings};
constexpr SyncSetting kSyncMacros{L"synchronizeMacros", kOptionSyncMacros};

WriteResult SyncTweak(const SyncSetting& setting, OptionMask& options, const std::wstring& configPath, int flag)
{
    GameConfigFile doc;
    if (flag == kRead) {
        doc.Load(configPath.c_str());
        std::wstring value;
        doc.GetValue(setting.name, value);
        options = WithBit(options, setting.bit, value == kDisablingValue);
        return WriteResult();
    }
    // A file that exists but could not be read whole would lose the player's other settings if saved.
    if (const WriteResult loaded = LoadForRewrite(doc, configPath); !loaded)
        return loaded;
    doc.SetValue(setting.name, (options & setting.bit) ? kDisablingValue : kRemovedValue);
    return doc.Save();
}

}  // namespace

WriteResult SyncConfigTweak(OptionMask& options, const std::wstring& configPath, int flag)
{
    return SyncTweak(kSyncConfig, options, configPath, flag);
}

WriteResult SyncBindingsTweak(OptionMask& options, const std::wstring& configPath, int flag)
{
    return SyncTweak(kSyncBindings, options, configPath, flag);
}

WriteResult SyncMacrosTweak(OptionMask& options, const std::wstring& configPath, int flag)
{
    return SyncTweak(kSyncMacros, options, configPath, flag);
}

}  // namespace kelvane
