// Start-up as the user meets it: from the moment the program is started to the moment its window
// shows, against an empty window program that does nothing else, and against the same empty
// window loading the program's system libraries and Common Controls 6 by its manifest: the floor
// the platform sets for the program's start. The three are started as processes of their own, in
// turn, each run after the previous one was closed. Timed a second time up to the
// moment the window first answers a message (painted, its message loop running), for comparison.
// The program runs from a folder of its own with its catalogue beside it, as installed.
// Usage: bench_startup [program.exe]   (another build of the program, timed in place of this one)
#include <windows.h>

#include <cstdio>
#include <string>

#include "BenchFiles.h"
#include "BenchTiming.h"
#include "platform/UniqueHandle.h"

namespace {

// How long a start may take before the benchmark gives up on it.
constexpr DWORD kLongestStart = 30000;

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindShownWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

// The visible top-level window of the process; nullptr while it has none.
HWND ShownWindowOf(DWORD processId) {
    WindowSearch search{processId, nullptr};
    EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// One program started again and again: each start waits for the window to show, and, when asked,
// for its thread to answer a message, so that the first painting counts too.
class Starts {
public:
    Starts(std::wstring program, std::wstring folder) : program_(std::move(program)), folder_(std::move(folder)) {}
    ~Starts() { Close(); }
    Starts(const Starts&) = delete;
    Starts& operator=(const Starts&) = delete;

    // Closes the window of the last start, once it has started fully, and waits for its process
    // to end.
    void Close() {
        if (!process_) return;
        WaitForAnswer();
        if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.get(), kLongestStart) != WAIT_OBJECT_0) TerminateProcess(process_.get(), 1);
        process_.reset();
        window_ = nullptr;
    }

    void StartAndWaitForWindow(bool untilAnswering) {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION started{};
        std::wstring commandLine = L"\"" + program_ + L"\"";
        if (!CreateProcessW(program_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder_.c_str(), &startup, &started)) {
            failed_ = true;
            return;
        }
        CloseHandle(started.hThread);
        process_ = UniqueHandle(started.hProcess);
        const DWORD start = GetTickCount();
        while (!(window_ = ShownWindowOf(started.dwProcessId))) {
            if (GetTickCount() - start > kLongestStart ||
                WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) {
                failed_ = true;
                return;
            }
            Sleep(1);
        }
        if (untilAnswering) WaitForAnswer();
    }

    // Until the window's thread answers a message.
    void WaitForAnswer() {
        DWORD_PTR answer = 0;
        if (window_ && !SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, kLongestStart, &answer)) {
            failed_ = true;
        }
    }

    bool Failed() const { return failed_; }

private:
    std::wstring program_;
    std::wstring folder_;
    UniqueHandle process_;
    HWND window_ = nullptr;
    bool failed_ = false;
};

bool CopyInto(const std::wstring& file, const std::wstring& folder, const std::wstring& name) {
    return CopyFileW(file.c_str(), (folder + L"\\" + name).c_str(), FALSE) != FALSE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring program = argc > 1 ? argv[1] : XPV_BENCH_PROGRAM;
    const std::wstring programFolder = program.substr(0, program.find_last_of(L"\\/"));
    const bench::ScratchFolder scratch(bench::TemporaryFilesFolder(), L"xpv-bench-startup");
    const std::wstring installed = scratch.NewFolder(L"program");
    const std::wstring empty = scratch.NewFolder(L"empty");
    const std::wstring floor = scratch.NewFolder(L"floor");
    if (!CopyInto(program, installed, L"xpvestrim.exe") ||
        !CopyInto(programFolder + L"\\settings.db", installed, L"settings.db") ||
        !CopyInto(XPV_BENCH_EMPTY_WINDOW, empty, L"empty.exe") ||
        !CopyInto(XPV_BENCH_LIBRARY_WINDOW, floor, L"floor.exe")) {
        std::fprintf(stderr, "the programs could not be copied\n");
        return 1;
    }

    Starts programStarts(installed + L"\\xpvestrim.exe", installed);
    Starts emptyStarts(empty + L"\\empty.exe", empty);
    Starts floorStarts(floor + L"\\floor.exe", floor);
    const auto timeStarts = [&](bool untilAnswering) {
        return bench::TimeInTurn({
            {[&] { programStarts.Close(); }, [&] { programStarts.StartAndWaitForWindow(untilAnswering); }},
            {[&] { emptyStarts.Close(); }, [&] { emptyStarts.StartAndWaitForWindow(untilAnswering); }},
            {[&] { floorStarts.Close(); }, [&] { floorStarts.StartAndWaitForWindow(untilAnswering); }},
        });
    };
    const bench::Timings shown = timeStarts(false);
    const bench::Timings answering = timeStarts(true);
    if (programStarts.Failed() || emptyStarts.Failed() || floorStarts.Failed()) {
        std::fprintf(stderr, "a window did not show\n");
        return 1;
    }
    std::printf("start to window shown: program %.3f s, empty window %.3f s, with the program's libraries %.3f s; "
                "to its first answer: %.3f s, %.3f s and %.3f s (medians of %d)\n",
                shown.Median(0), shown.Median(1), shown.Median(2), answering.Median(0), answering.Median(1),
                answering.Median(2), bench::kRuns);
    std::printf("libraries/empty ratio: %.2f\n", shown.MedianRatio(2, 1));
    std::printf("startup/empty ratio until answering: %.2f\n", answering.MedianRatio(0, 1));
    std::printf("startup/empty ratio: %.2f\n", shown.MedianRatio(0, 1));
    return 0;
}
