// Times what the Settings panel does when a group is chosen (its tweaks listed, then refreshed
// from the registry) for a group of 2,000 and of 20,000 tweaks: the group is read in one pass, so
// the cost per tweak must not grow with the size of the group.
#include <windows.h>
#include <shlwapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchFiles.h"
#include "BenchTiming.h"
#include "platform/RegistryMod.h"
#include "settings/SettingsCatalogue.h"
#include "settings/TweakTicks.h"

namespace {

constexpr RegistryRoot kCurrentUser = 0x80000001;
constexpr int kValues = 10;

// One group of `count` tweaks, each naming one of the bench key's values, in the catalogue's
// ANSI form; every tenth has a second value.
void WriteCatalogue(const std::wstring& path, const std::wstring& key, int count) {
    std::string text = "; bench catalogue\r\n[Before]\r\nB=HKEY_CURRENT_USER,x,y,\r\n[Group]\r\n";
    const std::string location = "HKEY_CURRENT_USER," + std::string(key.begin(), key.end()) + ",V";
    for (int i = 0; i < count; ++i) {
        const std::string name = "Tweak " + std::to_string(i);
        const std::string value = std::to_string(i % kValues);
        text += name + "=" + location + value + ",\r\n";
        text += "xxxxx" + name + " True1=1\r\n";
        text += "xxxxx" + name + " False1=0\r\n";
        text += "xxxxx" + name + " Type1=Int\r\n";
        if (i % 10 == 0) {
            text += "xxxxx" + name + " Entry2=True\r\n";
            text += "xxxxx" + name + "2=" + location + std::to_string((i + 1) % kValues) + ",\r\n";
            text += "xxxxx" + name + " True2=1\r\n";
            text += "xxxxx" + name + " False2=0\r\n";
        }
    }
    text += "[After]\r\nA=HKEY_CURRENT_USER,x,y,\r\n";
    const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// The panel's work on a click on the group: its tweaks, then their ticks.
size_t ChooseGroup(const std::wstring& catalogue) {
    std::vector<TweakTick> ticks;
    for (std::wstring& name : ListGroupTweaks(catalogue, L"Group")) ticks.push_back({std::move(name), false});
    size_t ticked = 0;
    for (const TweakTick& tick : RefreshTweakTicks(catalogue, L"Group", std::move(ticks))) ticked += tick.ticked;
    return ticked;
}

}  // namespace

int wmain() {
    const bench::ScratchFolder scratch(bench::TemporaryFilesFolder(), L"xpv-bench-catalogue");
    const std::wstring key = L"Software\\XpVestrimBenchCatalogue-" + std::to_wstring(GetCurrentProcessId());
    for (int i = 0; i < kValues; ++i) SetRegistryNumber(kCurrentUser, key, L"V" + std::to_wstring(i), i % 2);
    const std::wstring small = scratch.Path() + L"\\tweaks2000.db";
    const std::wstring large = scratch.Path() + L"\\tweaks20000.db";
    WriteCatalogue(small, key, 2000);
    WriteCatalogue(large, key, 20000);

    size_t smallTicked = 0, largeTicked = 0;
    const bench::Timings timings = bench::TimeInTurn({
        {nullptr, [&] { smallTicked = ChooseGroup(small); }},
        {nullptr, [&] { largeTicked = ChooseGroup(large); }},
    });
    SHDeleteKeyW(HKEY_CURRENT_USER, key.c_str());

    std::printf("group of 2000 tweaks: %.1f ms, of 20000: %.1f ms (medians of %d)\n", timings.Median(0) * 1000,
                timings.Median(1) * 1000, bench::kRuns);
    // Ten times the tweaks: the same cost per tweak is a ratio of 1.
    std::printf("per-tweak ratio: %.2f\n", timings.MedianRatio(1, 0) / 10);
    // Tweaks on odd values are on, those with a second value only when it is on too.
    return smallTicked > 0 && largeTicked == 10 * smallTicked ? 0 : 1;
}
