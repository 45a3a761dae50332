// Where the game is installed, as its installer recorded it in the registry.
#pragma once

#include <optional>
#include <string>

namespace kelvane {

// Installers leave the path quoted, padded or with doubled backslashes: blanks and double quotes go from both
// ends, and each pair of backslashes becomes one (left to right, so four become two).
std::wstring NormalizeInstallPath(const std::wstring& raw);

// The game folder from "InstallPath", normalised; nothing when the key or a terminated string value that fits
// 260 characters is missing.
std::optional<std::wstring> ReadGameFolder();

}  // namespace kelvane
