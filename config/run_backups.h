// The config.wtf files this run has backed up: each file is backed up before its first change, and only a backup
// this run took is ever copied back.
#pragma once

#include <string>
#include <vector>

#include "config/write_result.h"

namespace kelvane {

class RunBackups {
public:
    // True while the file at `configPath` exists and this run holds no backup of it.
    bool IsDue(const std::wstring& configPath) const;
    // True when this run holds a backup of the file at `configPath` that Restore may copy back.
    bool Holds(const std::wstring& configPath) const;

    // Backs the file up when that is due. A missing file has nothing to keep and stays due for the moment it
    // appears; a failed copy leaves the backup due.
    WriteResult TakeIfDue(const std::wstring& configPath);
    // Copies this run's backup of the file back over it; refused, copying nothing, when this run holds none.
    WriteResult Restore(const std::wstring& configPath) const;

private:
    std::vector<std::wstring> backedUp_;   // each file as it was named when backed up; one or two folders a run
};

}  // namespace kelvane
