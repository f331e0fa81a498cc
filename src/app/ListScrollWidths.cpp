#include "app/ListScrollWidths.h"

#include <cwchar>

#include "app/GdiHandles.h"
#include "app/Look.h"

namespace {

const wchar_t kLongSample[] =
    L"Very long string, that might require a horisontal scroll bar on the ListBox control in "
    L"order to be able to view it. Very long string, that might require a horisontal scroll bar "
    L"on the ListBox control in order to be able to view it.";

}  // namespace

void FitScrollWidthToSample(CheckList& list, const TwipScale& scale) {
    const WindowDc dc(list.Handle());
    const SelectedObject selected(dc.get(), reinterpret_cast<HFONT>(SendMessageW(list.Handle(), WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc.get(), kLongSample, static_cast<int>(wcslen(kLongSample)), &extent);
    const int widthTwips = scale.ToTwips(extent.cx);
    list.SetHorizontalExtent(widthTwips / scale.TwipsPerPixel() + 20);
}

void AddResultList(ControlFactory& controls, CheckList& list, ControlDescription described) {
    described.font = &look::kPanelFont;
    described.textColour = look::kLightGrey;
    described.backColour = look::kDarkGrey;
    described.style |= LBS_SORT;
    controls.AddCheckList(list, described);
    FitScrollWidthToSample(list, controls.Scale());
}
