#pragma once
// The console program started as a real process, the way a script starts it: standard output and
// standard error go to files, read back once it has ended.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/TextEncoding.h"
#include "platform/UniqueHandle.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

namespace xpv_test {

struct CliRun {
    DWORD exitCode = 0;
    std::string outBytes;
    std::wstring out;  // standard output decoded from UTF-8
    std::wstring err;

    // Standard output's lines, each of which must end in CR LF.
    std::vector<std::wstring> OutLines() const {
        std::vector<std::wstring> lines;
        size_t start = 0;
        for (size_t end; (end = out.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
            lines.push_back(out.substr(start, end - start));
        }
        CHECK_MESSAGE(start == out.size(), "output does not end in CR LF: " << ToUtf8(out));
        return lines;
    }
};

// A word of a command line, quoted so that the C runtime takes it apart into the same word.
inline std::wstring QuotedArgument(const std::wstring& word) {
    if (!word.empty() && word.find_first_of(L" \t\"") == std::wstring::npos) return word;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (const wchar_t character : word) {
        if (character == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(character == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += character;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L'"';
}

inline std::wstring DecodedOutput(const std::string& bytes) {
    const std::optional<std::wstring> text = WideFromUtf8(bytes);
    CHECK_MESSAGE(text.has_value(), "the output is no UTF-8");
    return text.value_or(L"");
}

// Starts the program with these words after its name, in `currentFolder` when one is given, its
// standard handles these (inheritable) ones.
inline UniqueHandle StartProgram(const std::wstring& program, const std::vector<std::wstring>& words,
                                 const std::wstring& currentFolder, HANDLE output, HANDLE errors,
                                 DWORD creationFlags) {
    SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
    const UniqueHandle in(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    REQUIRE(in);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in.get();
    startup.hStdOutput = output;
    startup.hStdError = errors;
    std::wstring commandLine = QuotedArgument(program);
    for (const std::wstring& word : words) commandLine += L" " + QuotedArgument(word);
    PROCESS_INFORMATION started{};
    REQUIRE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, creationFlags, nullptr,
                           currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &started));
    CloseHandle(started.hThread);
    return UniqueHandle(started.hProcess);
}

inline DWORD WaitForExitCode(const UniqueHandle& process) {
    REQUIRE(WaitForSingleObject(process.get(), 120000) == WAIT_OBJECT_0);
    DWORD exitCode = 0;
    REQUIRE(GetExitCodeProcess(process.get(), &exitCode));
    return exitCode;
}

// The program running with its standard output and standard error going to files.
class StartedCli {
public:
    StartedCli(const std::wstring& program, const std::vector<std::wstring>& words,
               const std::wstring& currentFolder = L"") {
        SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
        const auto create = [&inherited](const std::wstring& path) {
            return UniqueHandle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        };
        const UniqueHandle out = create(OutPath());
        const UniqueHandle err = create(ErrPath());
        REQUIRE((out && err));
        process_ = StartProgram(program, words, currentFolder, out.get(), err.get(), CREATE_NO_WINDOW);
    }

    bool Running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

    // Whether it ends within that time. One that does not is ended here, so that a fault that
    // hangs it fails its test instead of hanging it too.
    bool EndsWithin(DWORD milliseconds) const {
        if (WaitForSingleObject(process_.get(), milliseconds) == WAIT_OBJECT_0) return true;
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), INFINITE);
        return false;
    }

    CliRun Finish() const {
        CliRun run;
        run.exitCode = WaitForExitCode(process_);
        run.outBytes = ReadBytes(OutPath());
        run.out = DecodedOutput(run.outBytes);
        run.err = DecodedOutput(ReadBytes(ErrPath()));
        return run;
    }

private:
    std::wstring OutPath() const { return outputs_ / L"out.txt"; }
    std::wstring ErrPath() const { return outputs_ / L"err.txt"; }

    TempFolder outputs_{L"xpv-cli-output"};
    UniqueHandle process_;
};

inline CliRun RunCli(const std::wstring& program, const std::vector<std::wstring>& words,
                     const std::wstring& currentFolder = L"") {
    return StartedCli(program, words, currentFolder).Finish();
}

// A folder that holds a copy of the console program, as an installation does: its history.db
// and settings.db are the ones beside it.
class CliFolder {
public:
    explicit CliFolder(const std::wstring& builtProgram) {
        REQUIRE(CopyInto(builtProgram, Program()));
    }

    const std::wstring& Path() const { return folder_.Path(); }
    std::wstring Program() const { return folder_ / L"xpvestrim-cli.exe"; }
    std::wstring History() const { return folder_ / L"history.db"; }

    CliRun Run(const std::vector<std::wstring>& words, const std::wstring& currentFolder = L"") const {
        return RunCli(Program(), words, currentFolder);
    }

private:
    TempFolder folder_{L"xpv-cli"};
};

}  // namespace xpv_test
