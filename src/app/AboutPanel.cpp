#include "app/AboutPanel.h"

#include <commctrl.h>

#include <iterator>

#include "ProductVersion.h"
#include "app/Look.h"
#include "app/WindowSubclass.h"

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

void AboutPanel::CreateControls() {
    // The bullets: a group of their own; the selection mark is all they have.
    HWND firstBullet = nullptr;
    for (size_t i = 0; i < std::size(kBulletTops); ++i) {
        const DWORD style = WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
        const HWND bullet = controls_.AddChild({.parent = &window_, .id = kOption1First + static_cast<int>(i),
                                                .rect = {360, kBulletTops[i], 210, 210}, .text = L"Option1",
                                                .style = style},
                                               L"BUTTON");
        window_.SetColours(bullet, look::kNavy, std::nullopt);
        if (i == 0) firstBullet = bullet;
    }
    SendMessageW(firstBullet, BM_SETCHECK, BST_CHECKED, 0);

    // Every label starts a group, so that the arrow keys stay among the bullets. Each label goes
    // under the ones before it: the version over the title's foot, the notice over the
    // programming line's.
    auto addLabel = [this](int id, const TwipRect& rect, const FontDescription& font, std::wstring_view text,
                           COLORREF colour, DWORD alignment) {
        controls_.AddLabel({.parent = &window_, .id = id, .rect = rect, .font = &font, .text = text,
                            .textColour = colour, .style = WS_GROUP | SS_NOPREFIX | alignment});
    };
    addLabel(kLblVersion, {2160, 800, 2775, 375}, look::kVersionFont, L"version " XPV_VERSION_SHORT L"   ",
             look::kMaroon, SS_RIGHT);
    addLabel(kLblAboutTitle, {0, 240, 5055, 600}, look::kAboutTitleFont, L"Orlek - XP Vestrim", look::kMaroon,
             SS_CENTER);
    addLabel(kLblAbout, {240, 1320, 4575, 1575}, look::kAboutNoteFont, kThanks, look::kNavy, SS_LEFT);
    addLabel(kLabel10, {0, 4320, 5055, 255}, look::kOwnershipFont, kOwnership, look::kPurple, SS_RIGHT);
    AddLink(kLblWebsite, {600, 3120, 4215, 255}, std::wstring(L"Website: ") + kWebsite, websitePointer_, kWebsite);
    addLabel(kLblEmail, {600, 3480, 4215, 255}, look::kLinkFont, std::wstring(L"Email: ") + kEmail, look::kNavy,
             SS_LEFT);
    AddLink(kLblProgramming, {600, 3840, 4455, 495}, L"Programming Information", programmingPointer_,
            std::wstring(kWebsite) + L"/programming.htm");
}

// A link line: a label that reports clicks, shows the hand pointer and opens its page.
void AboutPanel::AddLink(int id, const TwipRect& rect, const std::wstring& text, SubclassedControl& pointer,
                         std::wstring address) {
    HWND link = controls_.AddLabel({.parent = &window_, .id = id, .rect = rect, .font = &look::kLinkFont,
                                    .text = text, .textColour = look::kNavy,
                                    .style = WS_GROUP | SS_NOPREFIX,
                                    .onClick = [this, address = std::move(address)] { OpenLink(address); }});
    pointer.Attach(link, [link](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_SETCURSOR) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        return DefaultSubclassProc(link, message, wParam, lParam);
    });
}

// The browser may take a while to come up and COM runs the message loop meanwhile: a close
// waits for it.
void AboutPanel::OpenLink(const std::wstring& address) {
    const PanelHost::LongAction opening(host_);
    OpenWebPage(address, *browsers_);
}
