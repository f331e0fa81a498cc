#include <windows.h>

#include <string>

#include "platform/ErrorText.h"
#include "support/doctest_wide.h"

TEST_CASE("A platform error reads as its number and the system's words, without the line break after them") {
    const std::wstring denied = PlatformErrorText(ERROR_ACCESS_DENIED);
    CHECK(denied.starts_with(L"error 5: "));
    CHECK(denied.size() > 9);
    CHECK(denied.find_first_of(L"\r\n") == std::wstring::npos);
    CHECK(denied.back() != L'.');
    CHECK(PlatformErrorText(0x2345678) == L"error 36984440");
}
