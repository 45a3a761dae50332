// Which config.wtf files this run has backed up, known by the file system's identity wherever they exist.
#include "config/run_backups.h"

#include <algorithm>

#include "config/file_location.h"
#include "config/game_config_file.h"
#include "config/game_process_rule.h"

namespace kelvane {
namespace {

std::size_t NameStart(const std::wstring& path)
{
    const std::size_t cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? 0 : cut + 1;
}

// Every save puts a new file in config.wtf's place, and with it a new file index: the file is known by its
// folder's identity and its name, so one folder under two names (a junction, a link, a short name) is one file.
bool SameConfigFile(const std::wstring& a, const std::wstring& b)
{
    const std::size_t nameA = NameStart(a);
    const std::size_t nameB = NameStart(b);
    return SamePath(std::wstring_view(a).substr(nameA), std::wstring_view(b).substr(nameB)) &&
           SameLocation(a.substr(0, nameA), b.substr(0, nameB));
}

}  // namespace

bool RunBackups::IsDue(const std::wstring& configPath) const
{
    return !FileIsMissing(configPath) && !Holds(configPath);
}

bool RunBackups::Holds(const std::wstring& configPath) const
{
    return !configPath.empty() && std::any_of(backedUp_.begin(), backedUp_.end(), [&](const std::wstring& file) {
               return SameConfigFile(file, configPath);
           });
}

WriteResult RunBackups::TakeIfDue(const std::wstring& configPath)
{
    if (!IsDue(configPath))
        return WriteResult();
    if (const WriteResult copied = BackupConfigFile(configPath); !copied)
        return copied;
    backedUp_.push_back(configPath);
    return WriteResult();
}

WriteResult RunBackups::Restore(const std::wstring& configPath) const
{
    if (!Holds(configPath))
        return FailureCause::Other;
    return RestoreConfigFile(configPath);
}

}  // namespace kelvane
