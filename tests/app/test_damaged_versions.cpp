#include <windows.h>

#include <string>
#include <vector>

#include "app/MainForm.h"
#include "app/WindowText.h"
#include "app/MessagePump.h"
#include "support/PanelViews.h"
#include "support/TempFolder.h"
#include "support/WindowTestOptions.h"
#include "support/doctest_wide.h"

using xpv_test::TempFolder;

namespace {

const std::wstring kFixtures = DAMAGED_VERSION_FIXTURES;

struct Program {
    const wchar_t* fixture;
    const wchar_t* name;  // names list in this order; the first is current when the window opens
};
const Program kDamaged[] = {
    {L"data-past-end", L"a-data-past-end.exe"},
    {L"size-past-end", L"b-size-past-end.exe"},
    {L"size-past-section", L"c-size-past-section.exe"},
    {L"directory-loop", L"d-directory-loop.exe"},
    {L"cut-directory", L"e-cut-directory.exe"},
    {L"sixteen-bit-block", L"f-sixteen-bit-block.exe"},
};
const Program kHealthy = {L"patch_base", L"g-healthy.exe"};

// Company, product, description and application name as the Vestrim panel shows them.
std::vector<std::wstring> Details(const VestrimPanel& panel) {
    const auto box = [&panel](int id) { return TextOf(GetDlgItem(panel.Window(), id)); };
    return {box(VestrimPanel::kTxtCompanyName), box(VestrimPanel::kTxtProductName), box(VestrimPanel::kTxtDescription),
            box(VestrimPanel::kTxtApplicationName)};
}

std::vector<std::wstring> NoVersionDetails(const wchar_t* name) { return {L"", L"", L"", name}; }

}  // namespace

TEST_CASE("The window opens on a folder whose first program has a damaged version resource") {
    TempFolder folder;
    std::vector<std::wstring> names;
    for (const Program& program : kDamaged) {
        REQUIRE(xpv_test::CopyInto(kFixtures + L"\\" + program.fixture + L".dll", folder / program.name));
        names.push_back(program.name);
    }
    REQUIRE(xpv_test::CopyInto(kFixtures + L"\\" + kHealthy.fixture + L".dll", folder / kHealthy.name));
    names.push_back(kHealthy.name);

    MainForm form(xpv_test::WindowTestOptions(folder.Path()));
    REQUIRE(form.Create());
    DoEvents();
    VestrimPanel& panel = MainForm::TestView{form}.Panel<VestrimPanel>();
    CheckList& unthemed = VestrimPanel::TestView{panel}.lstUnthemed();

    std::vector<std::wstring> listed;
    for (int i = 0; i < unthemed.Count(); ++i) listed.push_back(unthemed.Text(i));
    CHECK(listed == names);
    CHECK(unthemed.Current() == 0);
    CHECK(Details(panel) == NoVersionDetails(kDamaged[0].name));

    // Each damaged file after the healthy one: its details replace the healthy file's.
    const int healthy = static_cast<int>(std::size(kDamaged));
    for (int i = 0; i < healthy; ++i) {
        CAPTURE(std::wstring(kDamaged[i].name));
        unthemed.SetCurrent(healthy);
        REQUIRE(Details(panel) == std::vector<std::wstring>{L"Company", L"Product", L"Before|After", kHealthy.name});
        unthemed.SetCurrent(i);
        CHECK(Details(panel) == NoVersionDetails(kDamaged[i].name));
    }
}
