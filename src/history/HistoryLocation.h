#pragma once
#include <functional>
#include <string>

// Where history.db lives, chosen once at start and used by every part of the program and by the
// console program alike:
//  1. a history.db beside the program that exists already is always used;
//  2. else beside the program, when the user can write that folder (the portable case);
//  3. else %APPDATA%\Orlek\XP Vestrim\history.db, its folders made as needed (a standard user
//     running the program from Program Files).
// Gives the full path of the file; it need not exist yet.
std::wstring ChooseHistoryFile(const std::wstring& programDirectory);

// The rule itself, with the user's application-data folder and the answer to "can the user write
// this folder" given. The folder is asked for only when the rule needs it (naming it loads the
// shell, which the window's start can do without); without one the file stays beside the program.
using FolderWritableCheck = std::function<bool(const std::wstring& folder)>;
using AppDataDirectoryQuery = std::function<std::wstring()>;
std::wstring ChooseHistoryFile(const std::wstring& programDirectory, const AppDataDirectoryQuery& appDataDirectory,
                               const FolderWritableCheck& userCanWrite);

// The user's roaming application-data folder (%APPDATA%); empty when the system names none.
std::wstring UserAppDataDirectory();
