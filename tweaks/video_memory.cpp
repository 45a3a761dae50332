// QueryVideoMemory: the display driver's total memory, asked of DirectDraw through COM only.
#include "tweaks/texture_cache.h"

#include <windows.h>
#include <objbase.h>
#include <ddraw.h>

#include "common/unique_handle.h"

namespace kelvane {
namespace {

// Our own copies of the ids, so nothing pulls in a DirectDraw import library and the program never imports ddraw.dll.
constexpr GUID kClsidDirectDraw = {0xD7B70EE0, 0x4340, 0x11CF, {0xB0, 0x63, 0x00, 0x20, 0xAF, 0xC2, 0xCD, 0x35}};
constexpr GUID kIidDirectDraw2 = {0xB3A6F3E0, 0x2B43, 0x11CF, {0xA2, 0xDE, 0x00, 0xAA, 0x00, 0xB9, 0x33, 0x56}};

constexpr DWORD kAnyServer = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
static_assert(kAnyServer == 0x17);

// The driver judges the record by its size: 380 bytes is the layout of DirectX 6 and later.
using DriverCaps = DDCAPS_DX7;
constexpr DWORD kDriverCapsSize = 380;
static_assert(sizeof(DriverCaps) == kDriverCapsSize);

}  // namespace

std::optional<std::uint32_t> QueryVideoMemory()
{
    // Nests inside the thread's own apartment; declared first so the interface is released before it ends.
    ComApartment apartment;
    ComPtr<IDirectDraw2> directDraw;
    if (FAILED(CoCreateInstance(kClsidDirectDraw, nullptr, kAnyServer, kIidDirectDraw2, directDraw.put())) ||
        !directDraw)
        return std::nullopt;
    // A null id selects the active display driver. Its result is not needed: GetCaps fails on an unready object.
    directDraw->Initialize(nullptr);
    DriverCaps caps{};
    caps.dwSize = sizeof(caps);
    if (FAILED(directDraw->GetCaps(&caps, nullptr)))
        return std::nullopt;
    return static_cast<std::uint32_t>(caps.dwVidMemTotal);
}

}  // namespace kelvane
