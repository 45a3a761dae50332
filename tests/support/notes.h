// The note texts the dialog shows, as the player reads them; written out here, not taken from the product, so a
// changed text fails the tests.
#pragma once

namespace kelvane::test {

constexpr wchar_t kWindowsNote[] = L"Note: You may need to restart windows to take effect";
constexpr wchar_t kGameNote[] = L"Note: You may need to restart game to take effect";
constexpr wchar_t kApplyFailedNote[] = L"Note: Some changes could not be applied. Press Apply to try again.";
constexpr wchar_t kNoVideoMemoryNote[] = L"Note: The graphics card's memory could not be read, so the texture cache was not "
                                         L"set. Restart Windows, then press Apply again.";
constexpr wchar_t kNetworkRefusedNote[] =
    L"Note: Windows refused to change the network setting. Allow this utility in your security program, then "
    L"press Apply again.";
constexpr wchar_t kNoGameFolderNote[] = L"Note: Choose the game folder first, then press Apply again.";
constexpr wchar_t kGameFolderMissingNote[] =
    L"Note: The game folder was not found. Choose it with Browse, then press Apply again.";
constexpr wchar_t kAccessDeniedNote[] = L"Note: Windows denied access to config.wtf. If a security program guards the "
                                        L"game folder, allow this utility, then press Apply again.";
constexpr wchar_t kReadOnlyNote[] =
    L"Note: config.wtf is read-only. Clear its read-only attribute, then press Apply again.";
constexpr wchar_t kInUseNote[] = L"Note: config.wtf is open in another program. Close it, then press Apply again.";
constexpr wchar_t kDiskFullNote[] = L"Note: The disk is full. Free some space, then press Apply again.";
constexpr wchar_t kNoWtfFolderNote[] =
    L"Note: The game folder has no WTF folder. Choose the folder that holds it, then press Apply again.";
constexpr wchar_t kLinkNote[] =
    L"Note: A link stands in place of config.wtf or its backup. Remove it, then press Apply again.";
constexpr wchar_t kWriteProtectedNote[] =
    L"Note: The disk is write-protected. Remove the protection, then press Apply again.";
// A failed restore: the first sentence, then the cause's remedy.
constexpr wchar_t kRestoreFailedNote[] = L"Note: config.wtf was not restored. ";
constexpr wchar_t kRestoreBackupGone[] =
    L"Check that config.wtf.bak~ is still beside config.wtf, then press restore config.wtf again.";
constexpr wchar_t kRestoreReadOnly[] =
    L"config.wtf is read-only: clear that attribute, then press restore config.wtf again.";
constexpr wchar_t kRestoreInUse[] = L"config.wtf is open in another program: close it, then press restore config.wtf again.";
constexpr wchar_t kRestoreLink[] =
    L"A link stands in place of config.wtf or its backup: remove it, then press restore config.wtf again.";
constexpr wchar_t kGameRunningNote[] =
    L"Note: The game is running. Close it first: it rewrites config.wtf when it exits.";
constexpr wchar_t kRestoredNote[] = L"Note: config.wtf was restored from its backup.";

}  // namespace kelvane::test
