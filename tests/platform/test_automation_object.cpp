#include <windows.h>

#include <string>

#include "platform/AutomationObject.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

using xpv_test::TempFolder;

namespace {

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

TEST_CASE("A method of an object made by its programmatic identifier runs with a text argument") {
    AutomationObject files = AutomationObject::Create(L"Scripting.FileSystemObject");
    REQUIRE(files);
    TempFolder folder;
    const std::wstring made = folder / L"made late-bound \u00e9";
    CHECK(files.CallMethod(L"CreateFolder", made));
    CHECK(IsFolder(made));
    // Member names are looked up whatever their letter case.
    CHECK(files.CallMethod(L"deletefolder", made));
    CHECK_FALSE(IsFolder(made));

    SUBCASE("a member the object does not have, or a call it refuses, fails") {
        CHECK_FALSE(files.CallMethod(L"NoSuchMethod", made));
        CHECK_FALSE(files.CallMethod(L"DeleteFolder", made));  // gone already
        CHECK_FALSE(files.SetProperty(L"NoSuchProperty", true));
    }
}

TEST_CASE("A true or false property is set by name; a read-only one refuses") {
    AutomationObject document = AutomationObject::Create(L"MSXML2.DOMDocument");
    REQUIRE(document);
    CHECK(document.SetProperty(L"async", false));
    CHECK(document.SetProperty(L"preserveWhiteSpace", true));
    CHECK_FALSE(document.SetProperty(L"parseError", true));
    CHECK(document.CallMethod(L"loadXML", L"<page/>"));
}

TEST_CASE("An unknown identifier gives an empty object, which fails every call") {
    AutomationObject missing = AutomationObject::Create(L"Xpv.NoSuchClass");
    CHECK_FALSE(missing);
    CHECK_FALSE(missing.SetProperty(L"Visible", true));
    CHECK_FALSE(missing.CallMethod(L"navigate", L"http://www.example.com"));
    CHECK_FALSE(missing.CallMethod(L"Quit"));
}
