// Which config.wtf files this run has backed up, compared as the file system does: full paths, any letter case.
#include "config/run_backups.h"

#include "config/file_paths.h"
#include "config/game_config_file.h"
#include "config/game_process_rule.h"

namespace kelvane {
namespace {

// PROGRA~2 and Program Files (x86) are one folder: a file typed either way is backed up only once.
std::wstring FileKey(const std::wstring& configPath) { return LongPath(FullPath(configPath)); }

}  // namespace

const RunBackups::Taken* RunBackups::Find(const std::wstring& configPath) const
{
    const std::wstring key = FileKey(configPath);
    for (const Taken& taken : taken_) {
        if (!key.empty() && SamePath(taken.file, key))
            return &taken;
    }
    return nullptr;
}

bool RunBackups::IsDue(const std::wstring& configPath) const { return Find(configPath) == nullptr; }

bool RunBackups::Holds(const std::wstring& configPath) const
{
    const Taken* taken = Find(configPath);
    return taken && taken->copied;
}

WriteResult RunBackups::TakeIfDue(const std::wstring& configPath)
{
    if (!IsDue(configPath))
        return WriteResult();
    GameConfigFile config;
    config.Load(configPath.c_str());
    const bool missing = FileIsMissing(config.path());
    if (!missing) {
        if (const WriteResult copied = config.BackupConfigFile(); !copied)
            return copied;
    }
    taken_.push_back(Taken{FileKey(configPath), !missing});
    return WriteResult();
}

WriteResult RunBackups::Restore(const std::wstring& configPath) const
{
    if (!Holds(configPath))
        return FailureCause::Other;
    GameConfigFile config;
    config.Load(configPath.c_str());
    return config.RestoreConfigFile();
}

}  // namespace kelvane
