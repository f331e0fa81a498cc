#pragma once
#include <string>
#include <string_view>

// The processor an executable runs on, as far as a manifest has to name it.
enum class ProcessorArchitecture {
    X86,           // 32-bit x86, and every file that is no PE image
    Amd64,         // x64
    Arm64,
    Ia64,          // Itanium
    AnyProcessor,  // .NET program built for any processor
};

// The value of the manifest's processorArchitecture attributes: "X86", "amd64", "arm64", "ia64", "*".
std::wstring_view ProcessorArchitectureText(ProcessorArchitecture architecture);

// Read from the executable's PE header. Missing, truncated, unreadable or malformed files and
// unknown machine types give X86, the value of the plain document.
ProcessorArchitecture ReadExecutableArchitecture(const std::wstring& executablePath);
