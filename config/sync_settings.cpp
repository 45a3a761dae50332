// The three "synchronize" accessors: one routine over the setting's name and its option bit.
#include "config/sync_settings.h"

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

WriteResult SyncTweak(const SyncSetting& setting, OptionMask& options, GameConfigFile& document, int flag)
{
    if (flag == kRead) {
        std::wstring value;
        document.GetValue(setting.name, value);
        options = WithBit(options, setting.bit, value == kDisablingValue);
        return WriteResult();
    }
    document.SetValue(setting.name, (options & setting.bit) ? kDisablingValue : kRemovedValue);
    return WriteResult();
}

}  // namespace

WriteResult SyncConfigTweak(OptionMask& options, GameConfigFile& document, int flag)
{
    return SyncTweak(kSyncConfig, options, document, flag);
}

WriteResult SyncBindingsTweak(OptionMask& options, GameConfigFile& document, int flag)
{
    return SyncTweak(kSyncBindings, options, document, flag);
}

WriteResult SyncMacrosTweak(OptionMask& options, GameConfigFile& document, int flag)
{
    return SyncTweak(kSyncMacros, options, document, flag);
}

}  // namespace kelvane
