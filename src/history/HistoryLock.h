#pragma once
#include <string>

#include "platform/UniqueHandle.h"

// Holds, for its lifetime, the lock that every copy of the program takes before it changes a
// history file: a mutex named after the file's full path. A copy that holds it too long (hung)
// is waited for a few seconds only, so that no copy can hang another.
class HistoryLock {
public:
    explicit HistoryLock(const std::wstring& historyFile);
    ~HistoryLock();
    HistoryLock(const HistoryLock&) = delete;
    HistoryLock& operator=(const HistoryLock&) = delete;

private:
    UniqueHandle mutex_;
    bool held_ = false;
};
