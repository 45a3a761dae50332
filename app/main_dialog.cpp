// The main dialog's dispatch table and its handlers; the option work itself lives in config/ and tweaks/.
#include "app/main_dialog.h"

#include <iterator>

#include "app/app_module.h"
#include "app/failure_notes.h"
#include "app/game_folder.h"
#include "app/option_controls.h"
#include "app/resources/resource.h"
#include "app/window_placement.h"
#include "common/shell_calls.h"
#include "config/config_edit_batch.h"
#include "config/file_location.h"
#include "config/running_game.h"
#include "config/sync_settings.h"
#include "tweaks/network_latency.h"
#include "tweaks/texture_cache.h"

namespace kelvane {
namespace {

constexpr int kPathCapacity = 260;   // MAX_PATH, terminator included
constexpr wchar_t kConfigSuffix[] = L"\\WTF\\config.wtf";
constexpr wchar_t kHomePageUrl[] = L"https://vantorin.example/";
constexpr wchar_t kLinkLabel[] = L"Powered by Vantorin";
constexpr wchar_t kGameRunningNote[] =
    L"Note: The game is running. Close it first: it rewrites config.wtf when it exits.";
constexpr int kExitCodeClose = 1;
constexpr int kExitCodeCancel = 2;
constexpr wchar_t kRestoredNote[] = L"Note: config.wtf was restored from its backup.";
// Looking at a folder asks the file system about it (a network folder can take seconds): not at every keystroke.
constexpr UINT_PTR kFolderPauseTimer = 1;
constexpr UINT kFolderPauseMs = 250;
// The longest folder whose config.wtf still has a path Windows accepts; a longer one is refused as it is typed.
constexpr int kMaxFolderLength = kPathCapacity - 1 - static_cast<int>(std::size(kConfigSuffix) - 1);

// The note names the first failure in the order of the work.
void KeepFirstFailure(WriteResult& first, const WriteResult& result)
{
    if (first)
        first = result;
}

}  // namespace

VideoMemoryQuery MainDialog::videoMemoryQuery = &QueryVideoMemory;

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
    case WM_TIMER:
        if (!waitingForFigure)   // the folder pause timer fires again once Apply is done
            result = OnTimer(wParam);
        return true;
    case WM_COMMAND:
        break;
    default:
        return false;
    }

    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (waitingForFigure) {   // Apply is under way: only a Close is taken, and acted on once Apply is done
        if (id == IDOK || id == IDCANCEL)
            closeAsked = id == IDOK ? kExitCodeClose : kExitCodeCancel;
        return true;
    }
    if (id == IDOK) {
        result = OnClose();
        return true;
    }
    if (id == IDCANCEL) {
        result = OnCancel();
        return true;
    }
    if (code == BN_CLICKED && OptionBitOfControl(id) != 0 && folderDue) {
        // The folder's own state arrives first; the box keeps what the player's click made of it.
        const UINT clicked = IsDlgButtonChecked(window(), id);
        EvaluateFolder();
        CheckDlgButton(window(), id, clicked);
    } else if (code == BN_CLICKED) {
        EvaluateFolderIfDue();   // before the click acts, so nothing the player does is undone by it
    }
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_BROWSE:
            result = OnBrowse();
            return true;
        case IDC_RESTORE_CONFIG:
            result = OnRestore();
            return true;
        case IDC_APPLY:
            result = OnApply();
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
    CenterOnWorkArea(window());
    LoadIcons();
    if (MessageLoop* loop = Module().LoopForThread()) {
        loop->AddFilter(this);
        loop->AddIdle(this);
    }
    noteEdit = GetDlgItem(window(), IDC_NOTE);
    pathEdit = GetDlgItem(window(), IDC_GAME_PATH);
    backupCheckBox = GetDlgItem(window(), IDC_BACKUP_CONFIG);
    restoreButton = GetDlgItem(window(), IDC_RESTORE_CONFIG);
    SendMessageW(pathEdit, EM_SETLIMITTEXT, kMaxFolderLength, 0);

    FindGameFolder();
    NetworkLatencyTweak(kRead);
    appliedOptions = currentOptions;
    EvaluateFolder();   // the game-file options, the backup state and the running game, as for any folder

    if (linkControl.Attach(GetDlgItem(window(), IDC_POWERED_BY)))
        linkControl.InitControl();
    linkControl.SetTarget(kHomePageUrl);
    linkControl.SetLabelText(kLinkLabel);
    return 1;
}

void MainDialog::LoadIcons()
{
    const auto load = [this](int widthMetric, int heightMetric) {
        return UniqueIcon(static_cast<HICON>(LoadImageW(Module().instance(), MAKEINTRESOURCEW(IDI_MAINFRAME),
                                                        IMAGE_ICON, GetSystemMetrics(widthMetric),
                                                        GetSystemMetrics(heightMetric), LR_DEFAULTCOLOR)));
    };
    bigIcon = load(SM_CXICON, SM_CYICON);
    SendMessageW(window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
    smallIcon = load(SM_CXSMICON, SM_CYSMICON);
    SendMessageW(window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
}

void MainDialog::FindGameFolder()
{
    if (const std::optional<std::wstring> folder = ReadGameFolder()) {
        SetWindowTextW(pathEdit, folder->c_str());   // the edit notifies at once: configPath is current after this
        return;
    }
    // Nothing usable in the registry: ask the user, once the dialog is up.
    PostMessageW(window(), WM_COMMAND, MAKEWPARAM(IDC_BROWSE, BN_CLICKED), 0);
}

const MainDialog::GameFileAccessor MainDialog::kGameFileAccessors[4] = {
    {kOptionTextureCache, &MainDialog::TextureCacheTweak},
    {kOptionSyncBindings, &MainDialog::SyncBindingsTweak},
    {kOptionSyncConfig, &MainDialog::SyncConfigTweak},
    {kOptionSyncMacros, &MainDialog::SyncMacrosTweak},
};

void MainDialog::ReadAllOptions()
{
    NetworkLatencyTweak(kRead);
    ReadGameFileOptions();
}

void MainDialog::ReadGameFileOptions()
{
    GameConfigFile document;   // one load serves the four game-file options
    document.Load(configPath.c_str());
    for (const GameFileAccessor& accessor : kGameFileAccessors)
        (this->*accessor.access)(document, kRead);
}

void MainDialog::ShowOptions()
{
    for (const OptionControl& control : kOptionControls)
        CheckDlgButton(window(), control.id, (currentOptions & control.bit) ? BST_CHECKED : BST_UNCHECKED);
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
    EndDialog(kExitCodeClose);
    return 0;
}

LRESULT MainDialog::OnCancel()
{
    EndDialog(kExitCodeCancel);
    return 0;
}

bool MainDialog::AnswerWhileWaiting()
{
    MSG message{};
    while (!closeAsked && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {   // left for the program's loop, which ends the run
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        if (IsWorkInput(message))
            continue;   // dropped, as a busy window drops it: a click or key must not start work in the middle
        if (!FilterMessage(&message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return !closeAsked;
}

bool MainDialog::IsWorkInput(const MSG& message) const
{
    if (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST)
        return message.hwnd != GetDlgItem(window(), IDOK);
    if (message.message == WM_KEYDOWN || message.message == WM_KEYUP || message.message == WM_CHAR)
        return message.wParam != VK_ESCAPE && message.wParam != VK_RETURN;
    return false;   // painting, the frame (move, the close box), Alt+F4 and messages of other programs
}

LRESULT MainDialog::OnOptionToggled(int id)
{
    const OptionMask bit = OptionBitOfControl(id);
    currentOptions = WithBit(currentOptions, bit, IsDlgButtonChecked(window(), id) != BST_UNCHECKED);
    // DirectDraw is slow to answer: by the time the player presses Apply, the figure is there.
    if (currentOptions & ~appliedOptions & bit & kOptionTextureCache)
        videoMemory.Start(videoMemoryQuery);
    // Only the toggled option decides; other options that still differ do not keep Revert enabled.
    EnableButton(GetDlgItem(window(), IDC_REVERT), ((currentOptions ^ appliedOptions) & bit) != 0);
    UpdateNote();
    return 0;
}

void MainDialog::UpdateNote()
{
    ShowNote(RestartNote(currentOptions, appliedOptions), NoteKind::Restart);
}

void MainDialog::ShowNote(const wchar_t* text, NoteKind kind)
{
    SetWindowTextW(noteEdit, text);
    noteKind = kind;
}

void MainDialog::ShowBackupState()
{
    SendMessageW(backupCheckBox, BM_SETCHECK, backups.IsDue(configPath) ? BST_CHECKED : BST_UNCHECKED, 0);
    EnableButton(restoreButton, backups.Holds(configPath));
}

std::wstring MainDialog::GameFolder() const
{
    // configPath is the path edit's folder followed by the suffix, once the edit has changed at all.
    const std::size_t suffixLength = std::size(kConfigSuffix) - 1;
    return configPath.size() < suffixLength ? std::wstring() : configPath.substr(0, configPath.size() - suffixLength);
}

void MainDialog::EvaluateFolderIfDue()
{
    if (folderDue)
        EvaluateFolder();
}

void MainDialog::EvaluateFolder()
{
    KillTimer(window(), kFolderPauseTimer);
    folderDue = false;
    // Another folder has its own settings: its options show what its config.wtf says, so the boxes never show as set
    // what was set elsewhere, and Apply writes what differs from this folder's truth. A change the player made and
    // that has not landed yet keeps the player's choice: a refused Apply's remedy is often to choose the right folder.
    const OptionMask pending = (currentOptions ^ appliedOptions) & kGameFileOptions;
    const OptionMask chosen = currentOptions;
    ReadGameFileOptions();
    appliedOptions = (appliedOptions & ~kGameFileOptions) | (currentOptions & kGameFileOptions);
    currentOptions = (currentOptions & ~pending) | (chosen & pending);
    ShowOptions();
    EnableButton(GetDlgItem(window(), IDC_REVERT), currentOptions != appliedOptions);
    ShowBackupState();
    if (IsGameRunningFrom(GameFolder()))
        ShowNote(kGameRunningNote, NoteKind::GameRunning);
    else
        UpdateNote();
}

void MainDialog::EnableButton(HWND button, bool enable)
{
    if (!enable && GetFocus() == button)
        SendMessageW(window(), WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(button, enable);
}

LRESULT MainDialog::OnTimer(UINT_PTR id)
{
    if (id == kFolderPauseTimer)
        EvaluateFolderIfDue();
    return 0;
}

LRESULT MainDialog::OnRevert()
{
    EnableButton(GetDlgItem(window(), IDC_REVERT), false);
    currentOptions = appliedOptions;
    ShowOptions();
    UpdateNote();
    return 0;
}

LRESULT MainDialog::OnApply()
{
    EnableButton(GetDlgItem(window(), IDC_REVERT), false);
    const OptionMask changed = currentOptions ^ appliedOptions;
    // The game writes all of config.wtf back when it exits: a change made now would be undone then.
    const bool gameRunning = IsGameRunningFrom(GameFolder());
    // Success until a step fails; then the first failure in the order of the work (the folder, each option in turn,
    // then the save with its backup), whose cause names the note.
    WriteResult outcome;
    OptionMask withheld = 0;
    if (gameRunning) {
        withheld = kGameFileOptions;
    } else if (changed & kGameFileOptions) {
        outcome = CheckGameFolder(GameFolder());
        if (!outcome)
            withheld = kGameFileOptions;
    }

    OptionMask pending = changed & withheld;
    if (changed & kOptionNetworkLatency) {
        if (const WriteResult written = NetworkLatencyTweak(kWrite); !written) {
            pending |= kOptionNetworkLatency;
            KeepFirstFailure(outcome, written);
        }
    }
    pending |= WriteGameFileOptions(changed & kGameFileOptions & ~withheld, outcome);
    const OptionMask before = appliedOptions;
    // What did not land stays pending: its checkbox keeps the choice, Revert stays usable, the next Apply retries.
    appliedOptions = (currentOptions & ~pending) | (appliedOptions & pending);
    EnableButton(GetDlgItem(window(), IDC_REVERT), pending != 0);
    ShowBackupState();   // a config.wtf this Apply made is due for its backup before its next change

    // The running game's note is for the game-file changes it held back; a network change alone lands all the same.
    if (gameRunning && (changed & kGameFileOptions))
        ShowNote(kGameRunningNote, NoteKind::GameRunning);
    else if (!outcome)
        ShowNote(ApplyFailureNote(outcome.cause()), NoteKind::Warning);
    else if (noteKind != NoteKind::Restart)
        ShowNote(RestartNote(currentOptions, before), NoteKind::Restart);
    if (closeAsked)
        EndDialog(closeAsked);
    return 0;
}

OptionMask MainDialog::WriteGameFileOptions(OptionMask options, WriteResult& outcome)
{
    if (!options)
        return 0;
    ConfigEditBatch batch(configPath);
    OptionMask pending = 0;
    for (const GameFileAccessor& accessor : kGameFileAccessors) {
        if (!(options & accessor.bit))
            continue;
        const WriteResult edited =
            batch.Edit([&](GameConfigFile& document) { return (this->*accessor.access)(document, kWrite); });
        if (!edited) {
            pending |= accessor.bit;
            KeepFirstFailure(outcome, edited);
        }
    }
    // The file holds all of this Apply's edits or none of them. Its backup is taken only when it is about to change
    // (the new contents flushed, the file replaceable), so an Apply that changes nothing keeps an earlier backup;
    // nothing of config.wtf changes before this run holds its backup.
    if (const WriteResult saved = batch.Save([this] { return backups.TakeIfDue(configPath); }); !saved) {
        pending = options;
        KeepFirstFailure(outcome, saved);
    }
    return pending;
}

LRESULT MainDialog::OnRestore()
{
    if (!IsWindowEnabled(restoreButton))   // a click another program sent: this run holds no backup to restore
        return 0;
    if (IsGameRunningFrom(GameFolder())) {   // it would overwrite the restored file when it exits
        ShowNote(kGameRunningNote, NoteKind::GameRunning);
        return 0;
    }
    if (const WriteResult restored = backups.Restore(configPath); !restored) {
        // config.wtf is as it was: nothing to read again, and the button stays for another try.
        ShowNote(RestoreFailureNote(restored.cause()).c_str(), NoteKind::Warning);
        return 0;
    }
    EnableButton(restoreButton, false);
    appliedOptions = 0;
    currentOptions = 0;
    ReadAllOptions();
    ShowOptions();
    appliedOptions = currentOptions;
    if (noteKind != NoteKind::Restart)   // the warning the restore answered gives way to what it did
        ShowNote(kRestoredNote, NoteKind::Restart);
    return 0;
}

LRESULT MainDialog::OnBrowse()
{
    wchar_t displayName[kPathCapacity] = {};
    BROWSEINFOW info{};
    info.hwndOwner = window();
    info.pszDisplayName = displayName;
    info.ulFlags = BIF_RETURNONLYFSDIRS;   // the classic browser: no edit box, no new-folder button
    const UniqueTaskMem chosen(BrowseForFolder(&info));
    if (!chosen)
        return 0;
    wchar_t folder[kPathCapacity] = {};
    if (!PathFromIdList(static_cast<PCIDLIST_ABSOLUTE>(chosen.get()), folder))
        return 0;   // not a file-system folder: as if cancelled
    SetWindowTextW(pathEdit, folder);   // OnPathChanged runs before this returns
    EvaluateFolder();                   // a chosen folder is looked at at once
    return 0;
}

LRESULT MainDialog::OnPathChanged()
{
    // Read whole: the edit's limit keeps the text short enough, and nothing is ever cut to another folder.
    std::wstring folder(static_cast<std::size_t>(GetWindowTextLengthW(pathEdit)) + 1, L'\0');
    folder.resize(static_cast<std::size_t>(GetWindowTextW(pathEdit, &folder[0], static_cast<int>(folder.size()))));
    EnableButton(GetDlgItem(window(), IDC_APPLY), !folder.empty());
    configPath = folder + kConfigSuffix;
    folderDue = true;
    SetTimer(window(), kFolderPauseTimer, kFolderPauseMs, nullptr);   // restarted by every keystroke
    return 0;
}

WriteResult MainDialog::NetworkLatencyTweak(int flag)
{
    return kelvane::NetworkLatencyTweak(currentOptions, flag);
}

WriteResult MainDialog::TextureCacheTweak(GameConfigFile& document, int flag)
{
    return kelvane::TextureCacheTweak(currentOptions, document, flag,
                                      [this]() {
                                          waitingForFigure = true;
                                          const std::optional<std::uint32_t> figure = videoMemory.Wait(
                                              videoMemoryQuery, [this] { return AnswerWhileWaiting(); });
                                          waitingForFigure = false;
                                          return figure;
                                      });
}

WriteResult MainDialog::SyncBindingsTweak(GameConfigFile& document, int flag)
{
    return kelvane::SyncBindingsTweak(currentOptions, document, flag);
}

WriteResult MainDialog::SyncConfigTweak(GameConfigFile& document, int flag)
{
    return kelvane::SyncConfigTweak(currentOptions, document, flag);
}

WriteResult MainDialog::SyncMacrosTweak(GameConfigFile& document, int flag)
{
    return kelvane::SyncMacrosTweak(currentOptions, document, flag);
}

}  // namespace kelvane
