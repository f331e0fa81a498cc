#pragma once
#include <optional>
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

// Read from the file's PE header: nothing when the file is no Windows program (missing or
// unreadable, no "MZ", the NT headers' offset past its end, no "PE\0\0" signature there, or an
// optional header that is neither PE32 nor PE32+). Unknown machine types give X86.
std::optional<ProcessorArchitecture> ReadProgramArchitecture(const std::wstring& path);

// The same for a manifest to be written: a file that is no Windows program gives X86, the value of
// the plain document.
ProcessorArchitecture ReadExecutableArchitecture(const std::wstring& executablePath);
