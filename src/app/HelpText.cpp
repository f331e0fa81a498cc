#include "app/HelpText.h"

#include <string_view>
#include <vector>

#include "app/PanelTable.h"

namespace {

// Broken by hand so that every line fits the help box without wrapping.
constexpr std::wstring_view kVestrimLines[] = {
    L"Using XP Vestrim",
    L"================",
    L"",
    L"\t* Go to the directory that holds the program",
    L"\t  you want to change: pick its drive at the",
    L"\t  top left of the Vestrim panel, then open the",
    L"\t  directory in the folder list below it.",
    L"",
    L"\t* XP Vestrim lists the applications of that",
    L"\t  directory at once. Applications without a",
    L"\t  manifest stand in the upper list;",
    L"\t  applications that already have one stand in",
    L"\t  the lower list.",
    L"",
    L"\t* To give an application the Windows XP look,",
    L"\t  select it in the upper list and press",
    L"\t  \"Apply XP Theme NOW!!!\". XP Vestrim writes",
    L"\t  its manifest, and the program moves to the",
    L"\t  lower list.",
    L"",
    L"\t* To take the Windows XP look away again,",
    L"\t  select the application in the lower list and",
    L"\t  press \"Remove XP Theme NOW!!!\".",
    L"\t  XP Vestrim deletes its manifest, and the",
    L"\t  program moves back to the upper list.",
    L"",
    L"\t* You can select several programs at once in",
    L"\t  either list: tick every one you want, and",
    L"\t  they are all handled with a single press of",
    L"\t  the button.",
    L"",
    L"",
    L"",
    L"File Details",
    L"============",
    L"",
    L"\t* For every file you theme, you can enter four",
    L"\t  values, which are written into its manifest:",
    L"",
    L"\t\t* Company Name",
    L"\t\t* Product Name",
    L"\t\t* Application Name",
    L"\t\t* Description",
    L"",
    L"\t* XP Vestrim fills them in for you from the",
    L"\t  version information of the file when you",
    L"\t  select it, and reads them back from the",
    L"\t  manifest of a themed file. You may change",
    L"\t  any of them before you press the button;",
    L"\t  they only describe the program, which runs",
    L"\t  the same whatever they say.",
    L"",
    L"",
};

constexpr std::wstring_view kTurboLines[] = {
    L"Turbo Mode",
    L"==========",
    L"",
    L"\t* Turbo Mode handles lots of applications in",
    L"\t  one go. To begin a new search, press",
    L"\t  \"New Search\".",
    L"",
    L"\t* Choose the drive and the directory where the",
    L"\t  search is to start.",
    L"",
    L"\t* Tick \"Scan Subdirectories\" if the",
    L"\t  subdirectories of that directory, and theirs",
    L"\t  in turn, should be searched as well.",
    L"",
    L"\t* Choose whether to search for applications",
    L"\t  without a manifest, to theme them, or for",
    L"\t  applications with one, to remove their",
    L"\t  theme.",
    L"",
    L"\t* Press \"GO\". XP Vestrim searches the",
    L"\t  directory, which can take a while on a large",
    L"\t  drive, and then shows a short report of what",
    L"\t  it found.",
    L"",
    L"\t* Press \"Show  Results\" to see the list. The",
    L"\t  applications found are listed alphabetically",
    L"\t  by product name, followed by their",
    L"\t  description and their location.",
    L"",
    L"\t* Press \"+\" to select all of them, or \"-\" to",
    L"\t  unselect all of them; single entries can be",
    L"\t  ticked or unticked by hand.",
    L"",
    L"\t* The action button below the list does the",
    L"\t  work: it themes the selected applications,",
    L"\t  or removes their theme, one after the other.",
    L"",
    L"",
    L"",
};

constexpr std::wstring_view kHistoryLines[] = {
    L"History",
    L"=======",
    L"",
    L"\t* Every application that you theme, in the",
    L"\t  normal mode or in Turbo Mode, is added to",
    L"\t  the history list, so that you can always",
    L"\t  find it again.",
    L"",
    L"\t* The list shows each application by its",
    L"\t  product name and description, sorted",
    L"\t  alphabetically. Click an entry and",
    L"\t  the tool tip will tell you its location.",
    L"",
    L"\t* Press \"+\" to select all entries and \"-\" to",
    L"\t  unselect all entries.",
    L"",
    L"\t* Press \"Untheme Selected Applications\" to",
    L"\t  remove the manifests of the selected",
    L"\t  entries. Those applications get their old",
    L"\t  look back, and their entries leave the list.",
    L"",
    L"",
};

constexpr std::wstring_view kSettingsLines[] = {
    L"Settings",
    L"========",
    L"",
    L"\t* Orlek - XP Vestrim also offers a number of",
    L"\t  tweaks of the look and feel of Windows XP,",
    L"\t  grouped by the part of the system they",
    L"\t  change. Each one is shown as a line that is",
    L"\t  ticked when the tweak is on.",
    L"",
    L"\t* Some of these settings only change the",
    L"\t  registry at first: you will not see them",
    L"\t  until you log off and log in again.",
    L"",
    L"\t* The Apply button applies only the settings",
    L"\t  of the group that is listed at the time, so",
    L"\t  each group has to be applied on its own.",
    L"",
    L"",
    L"",
};

// The seventh and eighth paragraphs say the same thing on purpose.
constexpr std::wstring_view kNotesLines[] = {
    L"Notes",
    L"=====",
    L"",
    L"\t* Only the Microsoft common controls of an",
    L"\t  application are affected: buttons, lists,",
    L"\t  tabs and the like. Other controls, such as",
    L"\t  those a program draws itself, may stay",
    L"\t  unchanged.",
    L"",
    L"\t* XP Vestrim never alters the content of a",
    L"\t  program file; it only writes a small manifest",
    L"\t  file beside it. Everything it does can",
    L"\t  therefore be undone.",
    L"",
    L"\t* On Windows XP the manifest beside a program",
    L"\t  always counts. Windows Vista and later pass",
    L"\t  it over when the program carries a manifest",
    L"\t  of its own, as most programs built with",
    L"\t  current tools do, unless Windows is set to",
    L"\t  prefer external manifests. Before theming",
    L"\t  such programs, XP Vestrim asks whether to",
    L"\t  turn that setting on: it holds for the whole",
    L"\t  computer and needs administrator rights. A",
    L"\t  program whose own manifest already asks for",
    L"\t  the new look has it without XP Vestrim.",
    L"",
    L"\t* In the Vestrim and Turbo Mode lists, the tool",
    L"\t  tip of the selected program tells whether it",
    L"\t  carries a manifest of its own, and what that",
    L"\t  means for its look.",
    L"",
    L"\t* Windows Vista and later remember for each",
    L"\t  program whether it has a manifest, until the",
    L"\t  date the program file was last changed moves.",
    L"\t  So there, after writing or removing a",
    L"\t  manifest, XP Vestrim sets that date to the",
    L"\t  present moment. This date is the one thing it",
    L"\t  changes on a program file, and Windows XP",
    L"\t  does not need it. Where the date cannot be",
    L"\t  set, the change shows after Windows restarts.",
    L"",
    L"\t* If an application becomes unusable after",
    L"\t  theming, find it in the history list and",
    L"\t  remove its manifest there.",
    L"",
    L"\t* If a control cannot be drawn in the new",
    L"\t  style, Windows simply leaves it as it was;",
    L"\t  the rest of the application is not affected",
    L"\t  by it.",
    L"",
    L"\t* If a control cannot be drawn in the",
    L"\t  new style, Windows simply leaves it",
    L"\t  as it was; the rest of the",
    L"\t  application is not affected by it.",
    L"",
    L"\t* Orlek - XP Vestrim does not need to keep",
    L"\t  running, and it does not need to be started",
    L"\t  with Windows.",
    L"",
    L"\t* It only has to be run once for each",
    L"\t  application file: the manifest it leaves",
    L"\t  behind does the rest.",
};

}  // namespace

const HelpLines kVestrimHelp = kVestrimLines;
const HelpLines kTurboHelp = kTurboLines;
const HelpLines kHistoryHelp = kHistoryLines;
const HelpLines kSettingsHelp = kSettingsLines;

const std::wstring& HelpText() {
    static const std::wstring text = [] {
        std::vector<HelpLines> sections;
        for (const PanelRow& row : kPanels) {
            if (row.help) sections.push_back(*row.help);
        }
        sections.push_back(kNotesLines);
        std::wstring joined;
        bool first = true;
        for (const HelpLines& section : sections) {
            for (const std::wstring_view& line : section) {
                if (!first) joined += L"\r\n";
                joined += line;
                first = false;
            }
        }
        return joined;
    }();
    return text;
}
