// The program's load configuration: from Windows 10 1607 on, the loader resolves even the dependencies of the
// program's imports from the system folder alone. MinGW's linker lays it out; cmake/pe_load_config.py points the
// PE header at it, which binutils 2.40 does not do.
#include <windows.h>

#include <cstddef>

namespace kelvane {

constexpr bool k64Bit = sizeof(void*) == 8;
// Everything before CSDVersion keeps the loader's defaults (zero); the layout differs between the architectures.
constexpr std::size_t kCsdVersionOffset = k64Bit ? 0x4C : 0x34;

// IMAGE_LOAD_CONFIG_DIRECTORY as far as the safe-exception-handler count: the size the loaders of Windows 7 on know.
// MinGW-w64's own headers still call DependentLoadFlags "Reserved1", newer ones do not, so the layout is ours.
struct LoadConfiguration {
    DWORD size;
    BYTE loaderDefaults[kCsdVersionOffset - sizeof(DWORD)];
    WORD csdVersion;
    WORD dependentLoadFlags;
    ULONG_PTR editList;
    ULONG_PTR securityCookie;   // none: nothing here uses the /GS cookie the loader would set
    ULONG_PTR seHandlerTable;   // none, with a zero count: no safe-handler table, as without a load configuration
    ULONG_PTR seHandlerCount;
};
static_assert(offsetof(LoadConfiguration, dependentLoadFlags) == (k64Bit ? 0x4E : 0x36));
static_assert(sizeof(LoadConfiguration) == (k64Bit ? 0x70 : 0x48));

constexpr LoadConfiguration MakeLoadConfiguration()
{
    LoadConfiguration configuration{};
    configuration.size = sizeof(configuration);
    configuration.dependentLoadFlags = LOAD_LIBRARY_SEARCH_SYSTEM32;
    return configuration;
}

}  // namespace kelvane

// The name linkers and the post-link step look for; the 32-bit compiler adds the leading underscore of C names.
extern "C" const kelvane::LoadConfiguration _load_config_used = kelvane::MakeLoadConfiguration();
