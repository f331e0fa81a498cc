#include <string>

#include "platform/LongPath.h"
#include "support/doctest_wide.h"

TEST_CASE("Paths too long for the plain form get the long form; all others stay as they are") {
    // "C:\" and these make 247 characters: the longest folder path the plain form reaches.
    const std::wstring longest(244, L'x');
    const std::wstring tooLong = longest + L'x';
    struct Case {
        std::wstring path;
        std::wstring forCalls;
    };
    const Case cases[] = {
        {L"C:\\" + longest, L"C:\\" + longest},
        {L"C:\\" + tooLong, L"\\\\?\\C:\\" + tooLong},
        {L"d:\\" + tooLong, L"\\\\?\\d:\\" + tooLong},
        {L"\\\\server\\share\\" + tooLong, L"\\\\?\\UNC\\server\\share\\" + tooLong},
        // Already in a long form, or not a full path: nothing to add.
        {L"\\\\?\\C:\\" + tooLong, L"\\\\?\\C:\\" + tooLong},
        {L"\\\\.\\pipe\\" + tooLong, L"\\\\.\\pipe\\" + tooLong},
        {L"relative\\" + tooLong, L"relative\\" + tooLong},
        {L"C:\\short.exe", L"C:\\short.exe"},
        {L"", L""},
    };
    for (const Case& c : cases) {
        CAPTURE(c.path.size());
        CHECK(PathForFileCalls(c.path) == c.forCalls);
    }
}
