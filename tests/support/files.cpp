// Whole-file reads and writes, removing a folder tree, a program's embedded manifest, and the Wine check.
#include "tests/support/files.h"

#include <windows.h>

#include <cstdlib>

#include "common/unique_handle.h"

namespace kelvane::test {
namespace {
constexpr WORD kManifestId = 1;   // the manifest Windows reads for the process itself
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadBytes(const std::wstring& path)
{
    const UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      0, nullptr));
    if (!file)
        return "<missing>";
    std::string bytes;
    char chunk[65536];
    DWORD read = 0;
    while (ReadFile(file.get(), chunk, sizeof(chunk), &read, nullptr) && read > 0)
        bytes.append(chunk, read);
    return bytes;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes)
{
    const UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::set<std::wstring> FolderNames(const std::wstring& folder)
{
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found{};
    if (const UniqueFind search{FindFirstFileW((folder + L"\\*").c_str(), &found)}) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..")
                names.insert(name);
        } while (FindNextFileW(search.get(), &found));
    }
    return names;
}

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW found{};
    if (const UniqueFind search{FindFirstFileW((path + L"\\*").c_str(), &found)}) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)   // a link: the link goes, not what it leads to
                RemoveDirectoryW(child.c_str()) || DeleteFileW(child.c_str());
            else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(search.get(), &found));
    }
    RemoveDirectoryW(path.c_str());
}

std::string EmbeddedManifest(const std::wstring& exe)
{
    const UniqueModule module(
        LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    const HRSRC found = module ? FindResourceW(module.get(), MAKEINTRESOURCEW(kManifestId), RT_MANIFEST) : nullptr;
    const HGLOBAL loaded = found ? LoadResource(module.get(), found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    return bytes ? std::string(static_cast<const char*>(bytes), SizeofResource(module.get(), found)) : std::string();
}

std::wstring FullDiskGameFolder()
{
    const char* folder = std::getenv("KELVANE_FULL_DISK_DIR");
    const std::string narrow = folder ? folder : "";
    return std::wstring(narrow.begin(), narrow.end());   // the script names it in ASCII
}

bool RunningUnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace kelvane::test
