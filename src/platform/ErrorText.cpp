#include "platform/ErrorText.h"

std::wstring PlatformErrorText(DWORD error) {
    std::wstring text = L"error " + std::to_wstring(error);
    wchar_t* words = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        0, reinterpret_cast<wchar_t*>(&words), 0, nullptr);
    if (words) {
        std::wstring described(words, length);
        LocalFree(words);
        // The system's text ends with a line break, and the sentence with a full stop.
        const size_t end = described.find_last_not_of(L" \t\r\n.");
        described.erase(end == std::wstring::npos ? 0 : end + 1);
        if (!described.empty()) text += L": " + described;
    }
    return text;
}
