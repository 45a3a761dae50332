// The main dialog's dispatch table and its handlers; the option work itself lives in config/ and tweaks/.
#include "app/main_dialog.h"

#include <shlobj.h>

#include "app/app_module.h"
#include "app/option_controls.h"
#include "app/resources/resource.h"
#include "common/unique_handle.h"

namespace kelvane {
namespace {
constexpr int kPathCapacity = 260;   // MAX_PATH, terminator included
constexpr wchar_t kConfigSuffix[] = L"\\WTF\\config.wtf";
}

bool MainDialog::FilterMessage(MSG* message)
{
    return window() && IsDialogMessageW(window(), message);
}

bool MainDialog::HandleIdle()
{
    return false;
}

bool MainDialog::Dispatch(UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    result = 0;
    switch (message) {
    case WM_INITDIALOG:
        result = OnInitDialog();
        return true;
    case WM_DESTROY:
        result = OnDestroy();
        return true;
    case WM_COMMAND:
        break;
    default:
        return false;
    }

    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == IDOK) {
        result = OnClose();
        return true;
    }
    if (id == IDCANCEL) {
        result = OnCancel();
        return true;
    }
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_BROWSE:
            result = OnBrowse();
            return true;
        case IDC_REVERT:
            result = OnRevert();
            return true;
        case IDC_NETWORK_LATENCY:
        case IDC_TEXTURE_CACHE:
        case IDC_SYNC_CONFIG:
        case IDC_SYNC_MACROS:
        case IDC_SYNC_BINDINGS:
            result = OnOptionToggled(id);
            return true;
        default:
            break;
        }
    }
    if (id == IDC_GAME_PATH && code == EN_CHANGE) {
        result = OnPathChanged();
        return true;
    }
    return false;
}

LRESULT MainDialog::OnInitDialog()
{
    if (MessageLoop* loop = Module().LoopForThread()) {
        loop->AddFilter(this);
        loop->AddIdle(this);
    }
    noteEdit = GetDlgItem(window(), IDC_NOTE);
    pathEdit = GetDlgItem(window(), IDC_GAME_PATH);
    backupCheckBox = GetDlgItem(window(), IDC_BACKUP_CONFIG);
    SendMessageW(backupCheckBox, BM_SETCHECK, BST_CHECKED, 0);
    restoreButton = GetDlgItem(window(), IDC_RESTORE_CONFIG);
    return 1;
}

LRESULT MainDialog::OnDestroy()
{
    if (MessageLoop* loop = Module().LoopForThread()) {
        loop->RemoveFilter(this);
        loop->RemoveIdle(this);
    }
    return 0;
}

void MainDialog::EndDialog(int exitCode)
{
    DestroyWindow(window());
    PostQuitMessage(exitCode);
}

LRESULT MainDialog::OnClose()
{
    EndDialog(1);
    return 0;
}

LRESULT MainDialog::OnCancel()
{
    EndDialog(2);
    return 0;
}

LRESULT MainDialog::OnOptionToggled(int id)
{
    const OptionMask bit = OptionBitOfControl(id);
    currentOptions = WithBit(currentOptions, bit, IsDlgButtonChecked(window(), id) != BST_UNCHECKED);
    // Only the toggled option decides; other options that still differ do not keep Revert enabled.
    EnableWindow(GetDlgItem(window(), IDC_REVERT), ((currentOptions ^ appliedOptions) & bit) != 0);
    UpdateNote();
    return 0;
}

void MainDialog::UpdateNote()
{
    SetWindowTextW(noteEdit, RestartNote(currentOptions, appliedOptions));
}

LRESULT MainDialog::OnRevert()
{
    EnableWindow(GetDlgItem(window(), IDC_REVERT), FALSE);
    currentOptions = appliedOptions;
    for (const OptionControl& control : kOptionControls)
        CheckDlgButton(window(), control.id, (currentOptions & control.bit) ? BST_CHECKED : BST_UNCHECKED);
    UpdateNote();
    return 0;
}

LRESULT MainDialog::OnBrowse()
{
    wchar_t displayName[kPathCapacity] = {};
    BROWSEINFOW info{};
    info.hwndOwner = window();
    info.pszDisplayName = displayName;
    info.ulFlags = BIF_RETURNONLYFSDIRS;   // the classic browser: no edit box, no new-folder button
    const UniqueTaskMem chosen(SHBrowseForFolderW(&info));
    if (!chosen)
        return 0;
    wchar_t folder[kPathCapacity] = {};
    if (!SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(chosen.get()), folder))
        return 0;   // not a file-system folder: as if cancelled
    SetWindowTextW(pathEdit, folder);   // OnPathChanged runs before this returns
    return 0;
}

LRESULT MainDialog::OnPathChanged()
{
    wchar_t folder[kPathCapacity] = {};
    GetWindowTextW(pathEdit, folder, kPathCapacity);
    EnableWindow(GetDlgItem(window(), IDC_APPLY), folder[0] != L'\0');
    configPath = std::wstring(folder) + kConfigSuffix;
    return 0;
}

}  // namespace kelvane
