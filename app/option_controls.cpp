// The checkbox table and the note rule: the network option needs Windows restarted, the others only the game.
#include "app/option_controls.h"

#include "app/resources/resource.h"

namespace kelvane {

const OptionControl kOptionControls[5] = {
    {IDC_NETWORK_LATENCY, kOptionNetworkLatency},
    {IDC_TEXTURE_CACHE, kOptionTextureCache},
    {IDC_SYNC_BINDINGS, kOptionSyncBindings},
    {IDC_SYNC_CONFIG, kOptionSyncConfig},
    {IDC_SYNC_MACROS, kOptionSyncMacros},
};

OptionMask OptionBitOfControl(int id)
{
    for (const OptionControl& control : kOptionControls) {
        if (control.id == id)
            return control.bit;
    }
    return 0;
}

const wchar_t* RestartNote(OptionMask currentOptions, OptionMask appliedOptions)
{
    const OptionMask differs = currentOptions ^ appliedOptions;
    if (differs & kOptionNetworkLatency)
        return L"Note: You may need to restart windows to take effect";
    if (differs & kGameFileOptions)
        return L"Note: You may need to restart game to take effect";
    return L"";
}

}  // namespace kelvane
