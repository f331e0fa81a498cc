#include "app/WebPageOpener.h"

#include <windows.h>
#include <shellapi.h>

AutomationObject SystemBrowsers::NewAutomationBrowser() {
    return AutomationObject::Create(L"InternetExplorer.Application");
}

void SystemBrowsers::OpenInDefaultBrowser(const std::wstring& address) {
    ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void OpenWebPage(const std::wstring& address, Browsers& browsers) {
    AutomationObject browser = browsers.NewAutomationBrowser();
    if (browser && browser.SetProperty(L"Visible", true) && browser.CallMethod(L"navigate", address)) return;
    // A browser that came up but never got the page does not stay behind, blank or hidden.
    if (browser) browser.CallMethod(L"Quit");
    browsers.OpenInDefaultBrowser(address);
}
