#pragma once
#include <string>

#include "theming/FailureReport.h"
#include "theming/ThemingService.h"

// What the end-of-action report tells of one program: why it was not themed (with the loader's
// error for a refused document), a history that could not record it, a change that shows only
// after Windows restarts, and an own manifest that already gives it the look.
void ReportOutcome(FailureReport& report, const std::wstring& executablePath,
                   const ThemingService::ThemeOutcome& outcome);
// Why the manifest of the program stays, and a change that shows only after Windows restarts.
void ReportOutcome(FailureReport& report, const std::wstring& executablePath,
                   const ThemingService::UnthemeOutcome& outcome);
