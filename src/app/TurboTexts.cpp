#include "app/TurboTexts.h"

namespace {

constexpr wchar_t kLineBreak[] = L"\r\n";

std::wstring Decimal(int64_t number) { return std::to_wstring(number); }

}  // namespace

std::wstring SearchHeadingOf(SearchMode mode) {
    return std::wstring(mode == SearchMode::Themed ? L"Searching for Themed Files...."
                                                   : L"Searching for Unthemed Files....") +
           kLineBreak + kLineBreak;
}

std::wstring ApplyCaptionOf(SearchMode mode) {
    return mode == SearchMode::Themed ? L"Remove Themes from Selected Apps" : L"Add Themes to Selected Apps";
}

std::wstring ResultLine(std::wstring_view product, std::wstring_view description, std::wstring_view executablePath,
                        int64_t serial) {
    std::wstring digits = std::to_wstring(serial);
    if (digits.size() < 5) digits.insert(0, 5 - digits.size(), L'0');
    std::wstring line(product);
    line += L" >> ";
    line += description;
    line += L" (";
    line += executablePath;
    line += L") [";
    line += digits;
    line += L']';
    return line;
}

std::wstring DirectoryProgressText(std::wstring_view heading, const SearchCounters& counters, bool resultLimitReached) {
    std::wstring text(heading);
    text += L"Scanned Directories = " + Decimal(counters.scannedDirectories) + kLineBreak;
    if (counters.skippedDirectories != 0) {
        text += L"Skipped Directories = " + Decimal(counters.skippedDirectories) + kLineBreak;
    }
    if (resultLimitReached) text += std::wstring(L"Result limit reached") + kLineBreak;
    return text;
}

std::wstring FileProgressText(const SearchCounters& counters, std::wstring_view line) {
    std::wstring text = L"Scanned Files = " + Decimal(counters.scannedFiles) + kLineBreak;
    text += L"         Themed Files   = " + Decimal(counters.themedFiles) + kLineBreak;
    text += L"         Unthemed Files = " + Decimal(counters.unthemedFiles) + kLineBreak;
    text += kLineBreak;
    text += line;
    text += kLineBreak;
    return text;
}
