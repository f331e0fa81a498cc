#pragma once
#include <windows.h>

#include <array>
#include <string>

#include "app/Panel.h"
#include "app/SubclassedControl.h"
#include "app/WebPageOpener.h"

// Title, version, a thank-you note and three link lines, of which the web site and the
// programming page open in a browser.
class AboutPanel : public Panel {
public:
    using Panel::Panel;
    void Create() override;

    // Where the links open; the machine's own browsers unless another is given.
    void UseBrowsers(Browsers& browsers) { browsers_ = &browsers; }

    void lblWebsite_Click();
    void lblProgramming_Click();

    HWND lblAboutTitle = nullptr;
    HWND lblVersion = nullptr;
    HWND lblAbout = nullptr;
    std::array<HWND, 3> Option1{};
    HWND lblWebsite = nullptr;
    HWND lblEmail = nullptr;
    HWND lblProgramming = nullptr;
    HWND Label10 = nullptr;

private:
    HWND AddLink(int id, const TwipRect& rect, const std::wstring& text, SubclassedControl& pointer);
    void OpenLink(const std::wstring& address);

    SystemBrowsers systemBrowsers_;
    Browsers* browsers_ = &systemBrowsers_;
    SubclassedControl websitePointer_;
    SubclassedControl programmingPointer_;
};
