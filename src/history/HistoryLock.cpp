#include "history/HistoryLock.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "platform/LongPath.h"
#include "platform/TextFunctions.h"

namespace {

constexpr DWORD kLongestWaitMs = 10000;

// Mutex names cannot hold a backslash and are limited in length: the name carries a hash of the
// upper-cased full path, the same in every process.
std::wstring MutexNameFor(const std::wstring& historyFile) {
    const std::wstring path = UpperCase(FullPathName(historyFile).value_or(historyFile));
    uint64_t hash = 14695981039346656037ull;
    for (const wchar_t unit : path) {
        hash = (hash ^ static_cast<uint16_t>(unit)) * 1099511628211ull;
    }
    wchar_t name[64];
    std::swprintf(name, 64, L"Local\\XpVestrim.History.%016llx", static_cast<unsigned long long>(hash));
    return name;
}

}  // namespace

HistoryLock::HistoryLock(const std::wstring& historyFile)
    : mutex_(CreateMutexW(nullptr, FALSE, MutexNameFor(historyFile).c_str())) {
    if (!mutex_) return;
    const DWORD waited = WaitForSingleObject(mutex_.get(), kLongestWaitMs);
    // An abandoned mutex belonged to a copy that ended while writing: the file is ours now.
    held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

HistoryLock::~HistoryLock() {
    if (held_) ReleaseMutex(mutex_.get());
}
