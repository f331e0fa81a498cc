#include "app/AboutPanel.h"

#include <commctrl.h>

#include "ProductVersion.h"
#include "app/ControlIds.h"
#include "app/Look.h"

namespace {

// The product's site: scheme and host, no closing slash.
constexpr wchar_t kWebsite[] = L"http://www.example.com";
constexpr wchar_t kEmail[] = L"info@example.com";
constexpr wchar_t kThanks[] =
    L"Thank you for trying out Orlek - XP Vestrim. I hope you have enjoyed it and found it useful. If you have any "
    L"remarks about the program please contact me at the email below. Also visit my website for more exciting "
    L"programs.";
constexpr wchar_t kOwnership[] = L"\u00A9 Orlek Software. All rights reserved.";
constexpr int kBulletTops[] = {3120, 3480, 3840};

}  // namespace

void AboutPanel::Create() {
    host_.CreatePanelWindow(window_);
    // The bullets: a group of their own; the selection mark is all they have.
    for (size_t i = 0; i < Option1.size(); ++i) {
        const DWORD style = WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
        Option1[i] = host_.AddChild({.parent = &window_, .id = kOption1First + static_cast<int>(i),
                                     .rect = {360, kBulletTops[i], 210, 210}, .text = L"Option1", .style = style},
                                    L"BUTTON");
        window_.SetColours(Option1[i], look::kNavy, std::nullopt);
    }
    SendMessageW(Option1[0], BM_SETCHECK, BST_CHECKED, 0);

    // Every label starts a group, so that the arrow keys stay among the bullets. Each label goes
    // under the ones before it: the version over the title's foot, the notice over the
    // programming line's.
    auto addLabel = [this](const TwipRect& rect, const FontDescription& font, std::wstring_view text, COLORREF colour,
                           DWORD alignment) {
        return host_.AddLabel({.parent = &window_, .rect = rect, .font = &font, .text = text, .textColour = colour,
                               .style = WS_GROUP | SS_NOPREFIX | alignment});
    };
    lblVersion = addLabel({2160, 800, 2775, 375}, look::kVersionFont, L"version " XPV_VERSION_SHORT L"   ",
                          look::kMaroon, SS_RIGHT);
    lblAboutTitle =
        addLabel({0, 240, 5055, 600}, look::kAboutTitleFont, L"Orlek - XP Vestrim", look::kMaroon, SS_CENTER);
    lblAbout = addLabel({240, 1320, 4575, 1575}, look::kAboutNoteFont, kThanks, look::kNavy, SS_LEFT);
    Label10 = addLabel({0, 4320, 5055, 255}, look::kOwnershipFont, kOwnership, look::kPurple, SS_RIGHT);
    lblWebsite = AddLink(kLblWebsite, {600, 3120, 4215, 255}, std::wstring(L"Website: ") + kWebsite, websitePointer_);
    lblEmail = addLabel({600, 3480, 4215, 255}, look::kLinkFont, std::wstring(L"Email: ") + kEmail, look::kNavy,
                        SS_LEFT);
    lblProgramming = AddLink(kLblProgramming, {600, 3840, 4455, 495}, L"Programming Information", programmingPointer_);
    window_.OnClick(lblWebsite, [this] { lblWebsite_Click(); });
    window_.OnClick(lblProgramming, [this] { lblProgramming_Click(); });
}

// A link line: a label that reports clicks and shows the hand pointer.
HWND AboutPanel::AddLink(int id, const TwipRect& rect, const std::wstring& text, SubclassedControl& pointer) {
    HWND link = host_.AddLabel({.parent = &window_, .id = id, .rect = rect, .font = &look::kLinkFont, .text = text,
                                .textColour = look::kNavy, .style = WS_GROUP | SS_NOPREFIX | SS_NOTIFY});
    pointer.Attach(link, [link](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_SETCURSOR) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        return DefSubclassProc(link, message, wParam, lParam);
    });
    return link;
}

// The browser may take a while to come up and COM runs the message loop meanwhile: a close
// waits for it.
void AboutPanel::OpenLink(const std::wstring& address) {
    const PanelHost::LongAction opening(host_);
    OpenWebPage(address, *browsers_);
}

void AboutPanel::lblWebsite_Click() { OpenLink(kWebsite); }

void AboutPanel::lblProgramming_Click() { OpenLink(std::wstring(kWebsite) + L"/programming.htm"); }
