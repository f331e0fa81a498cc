#pragma once
// "Change Theme": the platform's display properties, opened on their page 5.
#include <functional>
#include <string>

// Starts the program at its full path with the command line (which names the program first),
// in a normal window that takes the focus, without waiting for it. False when it did not start.
using ProgramStarter =
    std::function<bool(const std::wstring& program, const std::wstring& commandLine)>;

// The platform's way of starting a program (CreateProcess).
bool StartProgram(const std::wstring& program, const std::wstring& commandLine);

// rundll32.exe in the system folder; empty when the folder cannot be found. A full path, so that
// a copy planted in the program's own folder is never the one started.
std::wstring SystemRundll32Path();

// Starts "rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,5" from the system folder. False when
// it could not be started; nothing else happens then.
bool OpenDisplayProperties(const ProgramStarter& start = StartProgram);
