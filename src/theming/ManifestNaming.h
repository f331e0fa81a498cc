#pragma once
#include <optional>
#include <string>
#include <variant>

#include "manifest/ManifestDocument.h"

// Where a program's manifest details come from: the caller's choice, each as it always was.

// The application's name when the details are read from the program's version resource.
enum class ApplicationNaming {
    OriginalFileName,  // the resource's original file name (Turbo Vestrim)
    FileName,          // the program's own file name (Vestrim's lists, the console program)
};

// Details the caller gives in place of those read (the console program's options).
struct DetailOverrides {
    std::optional<std::wstring> company;
    std::optional<std::wstring> product;
    std::optional<std::wstring> applicationName;
    std::optional<std::wstring> description;
};

// Read from the version resource by a naming rule, each override taking the place of its detail.
struct VersionDetails {
    ApplicationNaming naming = ApplicationNaming::FileName;
    DetailOverrides overrides;
};

// The details as given (the boxes of the Vestrim panel), or as read.
using DetailsChoice = std::variant<ManifestDetails, VersionDetails>;

ManifestDetails ChosenDetails(const std::wstring& executablePath, const DetailsChoice& choice);
