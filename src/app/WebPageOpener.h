#pragma once
#include <string>

#include "platform/AutomationObject.h"

// Where a web page can be shown: the two ways out of the program to a browser.
class Browsers {
public:
    virtual ~Browsers() = default;
    // The automation object of a new browser window, not yet visible; empty when none can be made.
    virtual AutomationObject NewAutomationBrowser() = 0;
    // Hands the address to the default browser; nothing happens when no program takes it.
    virtual void OpenInDefaultBrowser(const std::wstring& address) = 0;
};

// The machine's own: Internet Explorer's automation object, and the shell's "open".
class SystemBrowsers : public Browsers {
public:
    AutomationObject NewAutomationBrowser() override;
    void OpenInDefaultBrowser(const std::wstring& address) override;
};

// Shows the page in a new browser window: a new automation browser is made visible, sent to the
// address and let go. When any of that fails (current systems no longer have the object), the
// default browser opens the address instead.
void OpenWebPage(const std::wstring& address, Browsers& browsers);
