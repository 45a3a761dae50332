// The note texts the dialog shows, as the player reads them; written out here, not taken from the product, so a
// changed text fails the tests.
#pragma once

namespace kelvane::test {

constexpr wchar_t kWindowsNote[] = L"Note: You may need to restart windows to take effect";
constexpr wchar_t kGameNote[] = L"Note: You may need to restart game to take effect";
constexpr wchar_t kApplyFailedNote[] = L"Note: Some changes could not be applied. Try running as administrator.";
constexpr wchar_t kReadOnlyNote[] =
    L"Note: config.wtf is read-only. Clear its read-only attribute, then press Apply again.";
constexpr wchar_t kInUseNote[] = L"Note: config.wtf is open in another program. Close it, then press Apply again.";
constexpr wchar_t kDiskFullNote[] = L"Note: The disk is full. Free some space, then press Apply again.";
constexpr wchar_t kNoWtfFolderNote[] =
    L"Note: The game folder has no WTF folder. Choose the folder that holds it, then press Apply again.";
constexpr wchar_t kRestoreFailedNote[] = L"Note: The backup of config.wtf could not be restored.";
constexpr wchar_t kGameRunningNote[] =
    L"Note: The game is running. Close it first: it rewrites config.wtf when it exits.";

}  // namespace kelvane::test
