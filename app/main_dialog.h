// The program's one window: the option checkboxes, the game folder, Apply, Revert and Restore.
#pragma once

#include <windows.h>
#include <string>

#include "app/dialog_window.h"
#include "app/hyperlink_control.h"
#include "app/message_loop.h"
#include "common/option_mask.h"
#include "common/unique_handle.h"
#include "tweaks/texture_cache.h"

namespace kelvane {

class MainDialog : public DialogWindow, public MessageFilter, public IdleHandler {
public:
    MainDialog() = default;

    bool FilterMessage(MSG* message) override;
    bool HandleIdle() override;

    // Where the texture option learns the display memory; tests replace it with a known adapter.
    static VideoMemoryQuery videoMemoryQuery;

protected:
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    friend struct MainDialogTestAccess;

    LRESULT OnInitDialog();
    LRESULT OnDestroy();
    LRESULT OnClose();
    LRESULT OnCancel();
    LRESULT OnBrowse();
    LRESULT OnRestore();
    LRESULT OnApply();
    LRESULT OnRevert();
    LRESULT OnOptionToggled(int id);
    LRESULT OnPathChanged();

    // The option accessors: flag kRead reads the system into the option's bit of currentOptions; any other flag
    // writes the bit to the system and answers whether the system now matches it.
    bool NetworkLatencyTweak(int flag);
    bool TextureCacheTweak(int flag);
    bool SyncBindingsTweak(int flag);
    bool SyncConfigTweak(int flag);
    bool SyncMacrosTweak(int flag);

    // The accessors in the order the dialog always calls them: network, texture, bindings, configs, macros.
    struct OptionAccessor {
        OptionMask bit;
        bool (MainDialog::*access)(int flag);
    };
    static const OptionAccessor kAccessors[5];

    void LoadIcons();
    void FindGameFolder();
    void ReadAllOptions();
    void ShowOptions();
    void UpdateNote();
    void ShowNote(const wchar_t* text, bool warns);
    // Takes the run's backup while it is due; false when config.wtf exists and could not be copied, so nothing of
    // it may change yet and the backup stays due.
    bool BackupIfDue();
    std::wstring GameFolder() const;
    void EndDialog(int exitCode);

    OptionMask currentOptions = 0;
    OptionMask appliedOptions = 0;
    HWND noteEdit = nullptr;
    HWND pathEdit = nullptr;
    std::wstring configPath;
    HWND backupCheckBox = nullptr;
    HWND restoreButton = nullptr;
    HyperLinkControl linkControl;

    // The note shows a warning (running game, failure) rather than the restart note: a later success replaces it.
    bool noteWarns = false;
    // The window's icons stay alive as long as the window can show them.
    UniqueIcon bigIcon;
    UniqueIcon smallIcon;
};

}  // namespace kelvane
