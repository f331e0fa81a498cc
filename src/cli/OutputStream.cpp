#include "cli/OutputStream.h"

#include <algorithm>

#include "platform/TextEncoding.h"

namespace {

constexpr size_t kBlockSize = 4 * 1024;
constexpr DWORD kLineFlushInterval = 250;
// Consoles of older systems refuse long writes.
constexpr size_t kConsoleChunk = 8 * 1024;

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

}  // namespace

OutputStream::OutputStream(HANDLE handle)
    : handle_(handle), console_(IsConsole(handle)), lineFlush_(kLineFlushInterval) {}

void OutputStream::Write(std::wstring_view text) {
    if (handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE) return;
    if (console_) {
        while (!text.empty()) {
            size_t chunk = std::min(text.size(), kConsoleChunk);
            // A surrogate pair stays in one write.
            if (chunk < text.size() && IsHighSurrogate(text[chunk - 1])) --chunk;
            DWORD written = 0;
            if (!WriteConsoleW(handle_, text.data(), static_cast<DWORD>(chunk), &written, nullptr)) return;
            text.remove_prefix(chunk);
        }
        return;
    }
    pending_ += Utf8FromWide(text);
    if (pending_.size() >= kBlockSize) Flush();
}

void OutputStream::WriteLine(std::wstring_view text) {
    Write(text);
    Write(L"\r\n");
    if (!pending_.empty() && lineFlush_.Due()) Flush();
}

void OutputStream::Flush() {
    std::string_view bytes = pending_;
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written == 0) {
            break;  // a closed pipe: whoever read it has gone
        }
        bytes.remove_prefix(written);
    }
    pending_.clear();
}
