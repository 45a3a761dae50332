// The program's one window: the option checkboxes, the game folder, Apply, Revert and Restore.
#pragma once

#include <windows.h>
#include <string>

#include "app/dialog_window.h"
#include "app/message_loop.h"
#include "common/option_mask.h"

namespace kelvane {

class MainDialog : public DialogWindow, public MessageFilter, public IdleHandler {
public:
    MainDialog() = default;

    bool FilterMessage(MSG* message) override;
    bool HandleIdle() override;

protected:
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    friend struct MainDialogTestAccess;

    LRESULT OnInitDialog();
    LRESULT OnDestroy();
    LRESULT OnClose();
    LRESULT OnCancel();
    LRESULT OnBrowse();
    LRESULT OnRevert();
    LRESULT OnOptionToggled(int id);
    LRESULT OnPathChanged();

    void UpdateNote();
    void EndDialog(int exitCode);

    OptionMask currentOptions = 0;
    OptionMask appliedOptions = 0;
    HWND noteEdit = nullptr;
    HWND pathEdit = nullptr;
    std::wstring configPath;
    HWND backupCheckBox = nullptr;
    HWND restoreButton = nullptr;
};

}  // namespace kelvane
