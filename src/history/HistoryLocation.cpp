#include "history/HistoryLocation.h"

#include <windows.h>
#include <shlobj.h>

#include <initializer_list>

#include "history/FolderRights.h"

namespace {

constexpr wchar_t kHistoryName[] = L"history.db";

// A drive root is reported with its backslash, every other folder without.
std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && folder.back() == L'\\') return folder + name;
    return folder + L"\\" + name;
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Makes each named folder in turn, the first inside `root`; one that exists already is fine.
std::wstring MakeFolders(const std::wstring& root, std::initializer_list<const wchar_t*> names) {
    std::wstring folder = root;
    for (const wchar_t* name : names) {
        folder = Join(folder, name);
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    return folder;
}

}  // namespace

std::wstring ChooseHistoryFile(const std::wstring& programDirectory, const AppDataDirectoryQuery& appDataDirectory,
                               const FolderWritableCheck& userCanWrite) {
    const std::wstring besideProgram = Join(programDirectory, kHistoryName);
    if (IsFile(besideProgram) || userCanWrite(programDirectory)) return besideProgram;
    const std::wstring appData = appDataDirectory();
    if (appData.empty()) return besideProgram;
    // When the folders cannot be made, recording fails and says so like any other failed write.
    return Join(MakeFolders(appData, {L"Orlek", L"XP Vestrim"}), kHistoryName);
}

std::wstring ChooseHistoryFile(const std::wstring& programDirectory) {
    return ChooseHistoryFile(programDirectory, UserAppDataDirectory, UserCanWriteFolder);
}

std::wstring UserAppDataDirectory() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return {};
    }
    return path;
}
