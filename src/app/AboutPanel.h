#pragma once
#include <windows.h>

#include <string>

#include "app/Panel.h"
#include "app/SubclassedControl.h"
#include "app/WebPageOpener.h"

// Title, version, a thank-you note and three link lines, of which the web site and the
// programming page open in a browser.
class AboutPanel : public Panel {
public:
    enum ControlId : int {
        // Option1(i) is kOption1First + i.
        kOption1First = 700,
        kLblWebsite = 710,
        kLblProgramming,
        kLblAboutTitle,
        kLblVersion,
        kLblAbout,
        kLblEmail,
        kLabel10,
    };

    using Panel::Panel;

    // Where the links open; the machine's own browsers unless another is given.
    void UseBrowsers(Browsers& browsers) { browsers_ = &browsers; }

private:
    void CreateControls() override;
    void AddLink(int id, const TwipRect& rect, const std::wstring& text, SubclassedControl& pointer,
                 std::wstring address);
    void OpenLink(const std::wstring& address);

    SystemBrowsers systemBrowsers_;
    Browsers* browsers_ = &systemBrowsers_;
    SubclassedControl websitePointer_;
    SubclassedControl programmingPointer_;
};
