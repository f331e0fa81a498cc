#include "app/Look.h"
#include "app/MainForm.h"

namespace {

const wchar_t kLongSample[] =
    L"Very long string, that might require a horisontal scroll bar on the ListBox control in "
    L"order to be able to view it. Very long string, that might require a horisontal scroll bar "
    L"on the ListBox control in order to be able to view it.";

}  // namespace

// The horizontal scroll range of the wide lists is measured once, on a long sample text in each
// list's own font; it is never recomputed from the items the lists later hold.
void MainForm::SetListScrollWidths() {
    const std::pair<CheckList*, const FontDescription*> lists[] = {{&turbo.lstTurbo, &look::kPanelFont},
                                                            {&history.lstHistory, &look::kPanelFont},
                                                            {&settings.lstSettings, &look::kSettingsFont}};
    for (const auto& [list, font] : lists) {
        list->Clear();
        list->Add(L"Short");
        list->Add(L"Short string");
        list->Add(kLongSample);

        WindowDc dc(window_);
        SelectedObject selected(dc.get(), Font(*font));
        SIZE extent{};
        GetTextExtentPoint32W(dc.get(), kLongSample, static_cast<int>(wcslen(kLongSample)), &extent);
        const int widthTwips = scale_.ToTwips(extent.cx);
        list->SetHorizontalExtent(widthTwips / scale_.TwipsPerPixel() + 20);

        list->Clear();
    }
}
