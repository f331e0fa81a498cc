#include <string>
#include <vector>

#include "app/ExternalManifestQuestion.h"
#include "support/doctest_wide.h"

TEST_CASE("The question names up to ten programs, then how many more, and what each answer does, in the right number") {
    std::vector<std::wstring> twelve;
    for (int i = 0; i < 12; ++i) twelve.push_back(L"C:\\hidden" + std::to_wstring(i) + L".exe");
    const std::wstring text = ExternalManifestQuestionText(twelve);
    std::wstring listed;
    for (int i = 0; i < 10; ++i) listed += twelve[i] + L"\r\n";
    CHECK(text.starts_with(L"These programs carry a manifest of their own"));
    CHECK(text.find(L":\r\n\r\n" + listed + L"and 2 more\r\n\r\n") != std::wstring::npos);
    CHECK(text.find(L"\r\nNo: theme the programs anyway; those listed keep their old look.\r\n") != std::wstring::npos);
    for (const wchar_t* answer : {L"\r\nYes: ", L"\r\nNo: ", L"\r\nCancel: "}) {
        CAPTURE(std::wstring(answer));
        CHECK(text.find(answer) != std::wstring::npos);
    }

    const std::wstring one = ExternalManifestQuestionText({L"C:\\hidden.exe"});
    CHECK(one.starts_with(L"This program carries a manifest of its own, and this version of Windows ignores the "
                          L"manifest XP Vestrim writes beside it unless external manifests are preferred:\r\n\r\n"
                          L"C:\\hidden.exe\r\n"));
    CHECK(one.find(L"\r\nNo: theme the program anyway; it keeps its old look.\r\n") != std::wstring::npos);
    CHECK(one.find(L"programs") == std::wstring::npos);
}
