#pragma once
#include <windows.h>

#include "app/Fonts.h"

// The colours and fonts the panels share.
namespace look {

inline constexpr COLORREF kDarkGrey = RGB(0x40, 0x40, 0x40);
inline constexpr COLORREF kLightGrey = RGB(0xE0, 0xE0, 0xE0);
inline constexpr COLORREF kStripGrey = RGB(0x50, 0x50, 0x50);
inline constexpr COLORREF kNavy = RGB(0x00, 0x00, 0x80);
inline constexpr COLORREF kDarkRed = RGB(0xC0, 0x00, 0x00);
inline constexpr COLORREF kBlack = RGB(0x00, 0x00, 0x00);
inline constexpr COLORREF kMaroon = RGB(0x80, 0x00, 0x00);
inline constexpr COLORREF kPurple = RGB(0x80, 0x00, 0x80);

// Lists, text boxes, labels and most buttons.
inline const FontDescription kPanelFont{L"Arial", 8.25, true, false};
// The "+" and "-" buttons under the wide lists.
inline const FontDescription kSignFont{L"Arial", 14.25, true, false};
// The Settings panel.
inline const FontDescription kSettingsFont{L"Arial", 9, true, false};
// The help text.
inline const FontDescription kHelpFont{L"Times New Roman", 9, true, false};
// The About panel: title, version, thank-you note, link lines, ownership notice.
inline const FontDescription kAboutTitleFont{L"Times New Roman", 26.25, true, false};
inline const FontDescription kVersionFont{L"Times New Roman", 12, true, true};
inline const FontDescription kAboutNoteFont{L"Times New Roman", 11.25, true, false};
inline const FontDescription kLinkFont{L"MS Sans Serif", 9.75, true, false};
inline const FontDescription kOwnershipFont{L"Times New Roman", 11.25, true, true};

}  // namespace look
