// A path as the file system resolves it: full, and in its long form.
#pragma once

#include <string>

namespace kelvane {

// The full path of `path` (relative parts resolved against the current folder), or empty when it cannot be made.
std::wstring FullPath(const std::wstring& path);

// The long form of an existing `path` (PROGRA~2 becomes Program Files (x86)), or `path` as it is when that fails.
std::wstring LongPath(const std::wstring& path);

}  // namespace kelvane
