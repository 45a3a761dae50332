// The program's one window: the option checkboxes, the game folder, Apply, Revert and Restore.
#pragma once

#include <windows.h>
#include <string>

#include "app/dialog_window.h"
#include "app/hyperlink_control.h"
#include "app/message_loop.h"
#include "common/option_mask.h"
#include "common/unique_handle.h"
#include "config/game_config_file.h"
#include "config/run_backups.h"
#include "config/write_result.h"
#include "tweaks/texture_cache.h"
#include "tweaks/video_memory_figure.h"

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
    LRESULT OnTimer(UINT_PTR id);

    // The option accessors: flag kRead reads the system into the option's bit of currentOptions; any other flag
    // writes the bit to the system and answers whether the system now matches it, and if not, why. The game-file
    // options work on one loaded config.wtf, which the caller loads once and, after writes, saves once.
    WriteResult NetworkLatencyTweak(int flag);
    WriteResult TextureCacheTweak(GameConfigFile& document, int flag);
    WriteResult SyncBindingsTweak(GameConfigFile& document, int flag);
    WriteResult SyncConfigTweak(GameConfigFile& document, int flag);
    WriteResult SyncMacrosTweak(GameConfigFile& document, int flag);

    // The game-file accessors in the order the dialog always calls them, after the network: texture, bindings,
    // configs, macros.
    struct GameFileAccessor {
        OptionMask bit;
        WriteResult (MainDialog::*access)(GameConfigFile& document, int flag);
    };
    static const GameFileAccessor kGameFileAccessors[4];
    // Writes the game-file options in `options` with one load and one save of config.wtf; returns those that did
    // not land, and keeps in `outcome` the first failure of the work.
    OptionMask WriteGameFileOptions(OptionMask options, WriteResult& outcome);

    void LoadIcons();
    void FindGameFolder();
    void ReadAllOptions();
    void ReadGameFileOptions();
    void ShowOptions();
    // The game folder is looked at once the typing pauses (its four game-file options read as they are there, its
    // backup state, the running game), at once for Browse and start-up, and before any click acts.
    void EvaluateFolder();
    void EvaluateFolderIfDue();
    // Disabling the button that has the keyboard focus would strand the focus: it moves to the next tab stop first.
    void EnableButton(HWND button, bool enable);
    // What the note shows: a warning (running game, failure) gives way to the restart note at a later success.
    enum class NoteKind { Restart, Warning, GameRunning };
    void UpdateNote();
    void ShowNote(const wchar_t* text, NoteKind kind);
    // The hidden "backup config.wtf" box shows whether the current config.wtf still needs this run's backup;
    // "restore config.wtf" is usable while this run holds a backup of it.
    void ShowBackupState();
    std::wstring GameFolder() const;
    void EndDialog(int exitCode);
    // While Apply waits for the display-memory figure, the window answers what does not start other work: it paints,
    // moves, and takes Close, which ends the wait and then the dialog. False once Close was asked for.
    bool AnswerWhileWaiting();
    bool IsWorkInput(const MSG& message) const;

    OptionMask currentOptions = 0;
    OptionMask appliedOptions = 0;
    HWND noteEdit = nullptr;
    HWND pathEdit = nullptr;
    std::wstring configPath;
    HWND backupCheckBox = nullptr;
    HWND restoreButton = nullptr;
    HyperLinkControl linkControl;
    RunBackups backups;
    NoteKind noteKind = NoteKind::Restart;
    bool folderDue = false;   // the path edit changed since the folder was last looked at
    bool waitingForFigure = false;
    int closeAsked = 0;   // the exit code of a Close asked for while Apply waited, or 0
    VideoMemoryFigure videoMemory;   // asked when texture is ticked, so that Apply finds it ready
    // The window's icons stay alive as long as the window can show them.
    UniqueIcon bigIcon;
    UniqueIcon smallIcon;
};

}  // namespace kelvane
