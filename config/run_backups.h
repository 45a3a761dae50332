// The config.wtf files this run has backed up: each file is backed up before its first change, and only a backup
// this run took is ever copied back.
#pragma once

#include <string>
#include <vector>

#include "config/write_result.h"

namespace kelvane {

class RunBackups {
public:
    // True until this run has backed up the file at `configPath` (or found it missing, with nothing to keep).
    bool IsDue(const std::wstring& configPath) const;
    // True when this run holds a backup of the file at `configPath` that Restore may copy back.
    bool Holds(const std::wstring& configPath) const;

    // Backs the file up when that is due. A missing file needs no backup and counts as taken, with nothing to
    // restore; a failed copy leaves the backup due.
    WriteResult TakeIfDue(const std::wstring& configPath);
    // Copies this run's backup of the file back over it; refused, copying nothing, when this run holds none.
    WriteResult Restore(const std::wstring& configPath) const;

private:
    struct Taken {
        std::wstring file;   // full, long path
        bool copied;         // false: the file was missing, so there is no backup of this run
    };
    const Taken* Find(const std::wstring& configPath) const;

    std::vector<Taken> taken_;   // in practice one or two folders a run
};

}  // namespace kelvane
