#pragma once
#include <optional>

// The version of Windows the program runs on, as the system itself counts it: compatibility
// settings that make the usual version functions answer an older one do not change it.
struct WindowsVersion {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned build = 0;

    // From Vista (6.0) on, a program's own manifest wins over the file beside it unless external
    // manifests are preferred, and the loader remembers per program whether it has a manifest.
    bool IsVistaOrLater() const { return major >= 6; }
    bool operator==(const WindowsVersion&) const = default;
};

// The version of this machine, or the one a WindowsVersionOverride sets.
WindowsVersion CurrentWindowsVersion();

// Makes CurrentWindowsVersion answer another machine's version while it lives: how tests see
// what the program does on Windows XP and on later Windows.
class WindowsVersionOverride {
public:
    explicit WindowsVersionOverride(WindowsVersion version);
    ~WindowsVersionOverride();
    WindowsVersionOverride(const WindowsVersionOverride&) = delete;
    WindowsVersionOverride& operator=(const WindowsVersionOverride&) = delete;

private:
    std::optional<WindowsVersion> previous_;
};
