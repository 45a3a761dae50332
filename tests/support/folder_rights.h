// A folder the player may not write to, for the tests that run where rights are enforced: under Wine run by an
// ordinary account (as root, or where KELVANE_RIGHTS_ENFORCED is not set, there is nothing to take away).
#pragma once

#include <string>

namespace kelvane::test {

// True in the run that scripts/test makes as an ordinary account, which sets KELVANE_RIGHTS_ENFORCED.
bool RightsEnforced();

// Takes away the right to create, rename or delete files in a folder, and gives it back at the latest when it goes.
class WriteRightsTaken {
public:
    explicit WriteRightsTaken(std::wstring folder);
    WriteRightsTaken(const WriteRightsTaken&) = delete;
    WriteRightsTaken& operator=(const WriteRightsTaken&) = delete;
    ~WriteRightsTaken();

    bool taken() const { return taken_; }   // the folder has lost its write rights
    void GiveBack();

private:
    std::wstring folder_;
    bool asked_ = false;   // chmod was started: the rights go back even if the probe never saw them go
    bool taken_ = false;
};

// Makes `link` a second name of the existing folder `target` (a directory symbolic link); true once it leads there.
bool MakeFolderLink(const std::wstring& link, const std::wstring& target);
// Makes `link` a symbolic link to the existing file `target`, the same way; true once it leads there.
bool MakeFileLink(const std::wstring& link, const std::wstring& target);

}  // namespace kelvane::test
