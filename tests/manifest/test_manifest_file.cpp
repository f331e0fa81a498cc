#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "manifest/ManifestDocument.h"
#include "manifest/ManifestFile.h"
#include "manifest/RecycleBin.h"
#include "manifest/ManifestForExecutable.h"
#include "platform/TextEncoding.h"
#include "platform/UniqueHandle.h"
#include "support/FixturePath.h"
#include "support/TempFolder.h"
#include "support/doctest_wide.h"

using xpv_test::DeepFolder;
using xpv_test::NamesIn;
using xpv_test::ReadBytes;
using xpv_test::TempFolder;
using xpv_test::WriteBytes;

namespace {

constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// Attributes apart from the archive bit, which Wine reports on every file.
DWORD AttributesOf(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES ? attributes : attributes & ~FILE_ATTRIBUTE_ARCHIVE;
}

enum class Sharing { Nobody, Readers };

// Another process that holds a file open until this object goes.
class HeldOpenFile {
public:
    HeldOpenFile(const std::wstring& path, Sharing sharing) {
        SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
        HANDLE childInput, inputWriter, outputReader, childOutput;
        REQUIRE(CreatePipe(&childInput, &inputWriter, &inheritable, 0));
        UniqueHandle childInputEnd(childInput);
        input_ = UniqueHandle(inputWriter);
        REQUIRE(CreatePipe(&outputReader, &childOutput, &inheritable, 0));
        UniqueHandle childOutputEnd(childOutput);
        const UniqueHandle output(outputReader);
        SetHandleInformation(inputWriter, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(outputReader, HANDLE_FLAG_INHERIT, 0);

        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = childInput;
        startup.hStdOutput = childOutput;
        startup.hStdError = childOutput;
        std::wstring commandLine = L"\"" XPV_HOLD_OPEN L"\" \"" + path + L"\"";
        if (sharing == Sharing::Readers) commandLine += L" read";
        PROCESS_INFORMATION started{};
        REQUIRE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                               nullptr, &startup, &started));
        process_ = UniqueHandle(started.hProcess);
        const UniqueHandle thread(started.hThread);
        childInputEnd.reset();
        childOutputEnd.reset();

        std::string answer;
        char character;
        DWORD read = 0;
        while (ReadFile(output.get(), &character, 1, &read, nullptr) && read == 1 && character != '\n') {
            answer += character;
        }
        REQUIRE(answer == "held");
    }
    ~HeldOpenFile() {
        input_.reset();  // end of input: the helper closes the file and exits
        if (WaitForSingleObject(process_.get(), 20000) == WAIT_TIMEOUT) {
            TerminateProcess(process_.get(), 1);
            WaitForSingleObject(process_.get(), 20000);
        }
    }
    HeldOpenFile(const HeldOpenFile&) = delete;
    HeldOpenFile& operator=(const HeldOpenFile&) = delete;

private:
    UniqueHandle input_;
    UniqueHandle process_;
};

const std::string kVendorManifest =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
    "  <assemblyIdentity version=\"2.5.0.0\" processorArchitecture=\"x86\" name=\"Vendor.Tool\" type=\"win32\"/>\r\n"
    "  <trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\"><security><requestedPrivileges>\r\n"
    "    <requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>\r\n"
    "  </requestedPrivileges></security></trustInfo>\r\n"
    "</assembly>\r\n";

std::string OwnDocument() {
    return ComposeManifestDocument({L"Acme", L"Editor", L"edit.exe", L"Text editor"}, ProcessorArchitecture::X86);
}

// The document this program wrote earlier for the same program, with other details.
std::string EarlierOwnDocument() {
    return ComposeManifestDocument({L"Acme", L"Old", L"edit.exe", L"Before"}, ProcessorArchitecture::Amd64);
}

// As older versions wrote it: details unescaped, in the ANSI code page.
std::string OlderAnsiForm(std::string document) {
    const std::string name = "[Acme].[Editor].[edit.exe]";
    return document.replace(document.find(name), name.size(), "[Caf\xE9 & \"Co\"].[P].[A]");
}

// A thread message left in the queue tells whether the removal ran pending messages.
// The yield a removal is given: counts its calls and what the manifest's attributes were then.
struct RecordedYield {
    std::wstring manifest;
    int calls = 0;
    DWORD attributesThen = INVALID_FILE_ATTRIBUTES;

    std::function<void()> Callback() {
        return [this] {
            ++calls;
            attributesThen = AttributesOf(manifest);
        };
    }
};

std::wstring EnvironmentVariable(const wchar_t* name) {
    wchar_t value[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

// Where Wine's shell puts deleted files: the freedesktop trash of the user running it.
std::wstring TrashFolder() {
    std::wstring data = EnvironmentVariable(L"XDG_DATA_HOME");
    if (!data.empty()) {
        data = L"Z:" + data;
    } else {
        // Wine hands its programs the user's home as "\??\Z:\home\user".
        data = EnvironmentVariable(L"WINEHOMEDIR");
        if (data.rfind(L"\\??\\", 0) == 0) data.erase(0, 4);
        data += L"\\.local\\share";
    }
    for (wchar_t& c : data) {
        if (c == L'/') c = L'\\';
    }
    return data + L"\\Trash";
}

// The path through which Wine reaches a Windows path's file outside every drive letter.
std::wstring UnixNamespacePath(const std::wstring& path) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto unixName =
        reinterpret_cast<UnixName>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return {};
    char* name = unixName(path.c_str());
    if (!name) return {};
    std::wstring result = L"\\\\?\\unix" + *WideFromUtf8(name);
    HeapFree(GetProcessHeap(), 0, name);
    for (wchar_t& c : result) {
        if (c == L'/') c = L'\\';
    }
    return result;
}

}  // namespace

TEST_CASE("A manifest is present whatever its attributes, but a folder is none") {
    TempFolder folder;
    const DWORD attributeSets[] = {
        FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM,
        FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM,
    };
    for (const DWORD attributes : attributeSets) {
        CAPTURE(attributes);
        const std::wstring manifest = ManifestPathFor(folder / (L"a" + std::to_wstring(attributes) + L".exe"));
        REQUIRE(WriteBytes(manifest, "x"));
        REQUIRE(SetFileAttributesW(manifest.c_str(), attributes));
        CHECK(IsManifestPresent(manifest));
    }
    CHECK_FALSE(IsManifestPresent(ManifestPathFor(folder / L"missing.exe")));
    const std::wstring folderNamed = ManifestPathFor(folder / L"dir.exe");
    REQUIRE(CreateDirectoryW(folderNamed.c_str(), nullptr));
    CHECK_FALSE(IsManifestPresent(folderNamed));
}

TEST_CASE("A new manifest holds the document, is hidden and system, and nothing else is left") {
    TempFolder folder;
    const ManifestDetails details{L"Acme", L"Editor", L"edit.exe", L"Text editor"};
    REQUIRE(WriteManifestForExecutable(folder / L"edit.exe", details));
    CHECK(NamesIn(folder.Path()) == std::vector<std::wstring>{L"edit.exe.manifest"});
    CHECK(ReadBytes(folder / L"edit.exe.manifest") == ComposeManifestDocument(details, ProcessorArchitecture::X86));
    CHECK(AttributesOf(folder / L"edit.exe.manifest") == kHiddenSystem);

    // At a drive root the composed path has two backslashes in a row.
    REQUIRE(WriteManifestForExecutable(folder.Path() + L"\\\\root.exe", details));
    CHECK(IsManifestPresent(folder / L"root.exe.manifest"));
    CHECK(AttributesOf(folder / L"root.exe.manifest") == kHiddenSystem);
}

TEST_CASE("This program's own manifest is replaced whatever its attributes; another maker's is kept") {
    TempFolder folder;
    const std::wstring manifest = folder / L"app.exe.manifest";
    const DWORD attributeSets[] = {
        FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_READONLY, kHiddenSystem, kHiddenSystem | FILE_ATTRIBUTE_READONLY,
    };
    // Another maker's may have appeared since the folder was listed.
    for (const bool own : {true, false}) {
        for (const DWORD attributes : attributeSets) {
            CAPTURE(own);
            CAPTURE(attributes);
            const std::string before = own ? EarlierOwnDocument() : kVendorManifest;
            SetFileAttributesW(manifest.c_str(), FILE_ATTRIBUTE_NORMAL);
            REQUIRE(WriteBytes(manifest, before));
            REQUIRE(SetFileAttributesW(manifest.c_str(), attributes));
            const ManifestWrite write = WriteManifestFile(manifest, OwnDocument());
            if (own) {
                CHECK(write);
                CHECK(ReadBytes(manifest) == OwnDocument());
                CHECK(AttributesOf(manifest) == kHiddenSystem);
            } else {
                CHECK(write.failure == ManifestFailure::NotOurs);
                CHECK(ReadBytes(manifest) == before);
                CHECK(AttributesOf(manifest) == (attributes & ~FILE_ATTRIBUTE_NORMAL));
            }
            CHECK(NamesIn(folder.Path()) == std::vector<std::wstring>{L"app.exe.manifest"});
        }
    }
}

TEST_CASE("A write that cannot take place reports failure and leaves everything as it was") {
    TempFolder folder;

    SUBCASE("a folder bears the manifest's name") {
        const std::wstring manifest = folder / L"app.exe.manifest";
        REQUIRE(CreateDirectoryW(manifest.c_str(), nullptr));
        CHECK_FALSE(WriteManifestFile(manifest, OwnDocument()));
        CHECK((GetFileAttributesW(manifest.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0);
        CHECK(NamesIn(manifest).empty());
        CHECK(NamesIn(folder.Path()) == std::vector<std::wstring>{L"app.exe.manifest"});
    }
    SUBCASE("the folder does not exist") {
        CHECK_FALSE(WriteManifestFile(folder / L"gone\\app.exe.manifest", OwnDocument()));
        CHECK(NamesIn(folder.Path()).empty());
    }
    SUBCASE("another process holds the manifest open") {
        const std::wstring manifest = folder / L"app.exe.manifest";
        const struct {
            Sharing sharing;
            DWORD attributes;
        } cases[] = {
            {Sharing::Nobody, kHiddenSystem},
            {Sharing::Nobody, kHiddenSystem | FILE_ATTRIBUTE_READONLY},
            {Sharing::Readers, FILE_ATTRIBUTE_NORMAL},
        };
        for (const auto& c : cases) {
            CAPTURE(c.attributes);
            SetFileAttributesW(manifest.c_str(), FILE_ATTRIBUTE_NORMAL);
            REQUIRE(WriteBytes(manifest, EarlierOwnDocument()));
            REQUIRE(SetFileAttributesW(manifest.c_str(), c.attributes));
            {
                const HeldOpenFile held(manifest, c.sharing);
                CHECK_FALSE(WriteManifestFile(manifest, OwnDocument()));
                CHECK(AttributesOf(manifest) == (c.attributes & ~FILE_ATTRIBUTE_NORMAL));
                CHECK(NamesIn(folder.Path()) == std::vector<std::wstring>{L"app.exe.manifest"});
            }
            CHECK(ReadBytes(manifest) == EarlierOwnDocument());
            // Once it is let go, the same write succeeds.
            CHECK(WriteManifestFile(manifest, OwnDocument()));
            CHECK(ReadBytes(manifest) == OwnDocument());
        }
    }
}

TEST_CASE("Removal deletes this program's own manifests outright, after yielding once with the attributes cleared") {
    TempFolder folder;
    const std::string own = OwnDocument();
    const struct {
        const char* what;
        std::string bytes;
        DWORD attributes;
    } cases[] = {
        {"as written", own, kHiddenSystem},
        {"UTF-8 details, another architecture",
         ComposeManifestDocument({L"Caf\u00e9 & Co", L"\u65e5\u672c", L"a.exe", L"<d>"}, ProcessorArchitecture::Amd64),
         kHiddenSystem},
        {"older version's ANSI form, details unescaped", OlderAnsiForm(own), kHiddenSystem},
        {"without the empty line", own.substr(0, own.size() - 2), FILE_ATTRIBUTE_NORMAL},
        {"read-only", own, kHiddenSystem | FILE_ATTRIBUTE_READONLY},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        const std::wstring manifest = folder / L"app.exe.manifest";
        REQUIRE(WriteBytes(manifest, c.bytes));
        REQUIRE(SetFileAttributesW(manifest.c_str(), c.attributes));
        RecordedYield yield{manifest};
        CHECK(RemoveManifest(manifest, yield.Callback()) == RemovalOutcome::Removed);
        CHECK(yield.calls == 1);
        CHECK(yield.attributesThen == 0);  // none but the archive mark
        CHECK(NamesIn(folder.Path()).empty());
    }
}

TEST_CASE("A manifest at a path longer than MAX_PATH is written, replaced, found, read and removed") {
    TempFolder folder;
    const DeepFolder deep(folder);
    const auto longForm = &DeepFolder::LongForm;
    const std::wstring executable = deep.Path() + L"\\app.exe";
    const std::wstring manifest = ManifestPathFor(executable);

    SUBCASE("written beside a program, naming the architecture of its header") {
        std::wstring self(MAX_PATH, L'\0');
        self.resize(GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
        REQUIRE(CopyFileW(self.c_str(), longForm(executable).c_str(), FALSE));
        const ManifestDetails details{L"Acme", L"Deep", L"app.exe", L"Far down"};
        REQUIRE(WriteManifestForExecutable(executable, details));
        const ProcessorArchitecture own = sizeof(void*) == 8 ? ProcessorArchitecture::Amd64 : ProcessorArchitecture::X86;
        CHECK(ReadManifestFile(manifest) == ComposeManifestDocument(details, own));
        CHECK(AttributesOf(longForm(manifest)) == kHiddenSystem);
        CHECK(NamesIn(longForm(deep.Path())) == std::vector<std::wstring>{L"app.exe", L"app.exe.manifest"});
    }
    SUBCASE("a read-only, hidden and system manifest is replaced, then removed") {
        REQUIRE(WriteBytes(longForm(manifest), EarlierOwnDocument()));
        REQUIRE(SetFileAttributesW(longForm(manifest).c_str(), kHiddenSystem | FILE_ATTRIBUTE_READONLY));
        CHECK(IsManifestPresent(manifest));
        CHECK(WriteManifestFile(manifest, OwnDocument()));
        CHECK(ReadManifestFile(manifest) == OwnDocument());
        CHECK(AttributesOf(longForm(manifest)) == kHiddenSystem);
        CHECK(NamesIn(longForm(deep.Path())) == std::vector<std::wstring>{L"app.exe.manifest"});

        REQUIRE(SetFileAttributesW(longForm(manifest).c_str(), kHiddenSystem | FILE_ATTRIBUTE_READONLY));
        CHECK(RemoveManifest(manifest) == RemovalOutcome::Removed);
        CHECK_FALSE(IsManifestPresent(manifest));
        CHECK(NamesIn(longForm(deep.Path())).empty());
    }
    SUBCASE("a write that fails there leaves the manifest as it was and no temporary file") {
        REQUIRE(WriteBytes(longForm(manifest), kVendorManifest));
        {
            const HeldOpenFile held(longForm(manifest), Sharing::Nobody);
            CHECK_FALSE(WriteManifestFile(manifest, OwnDocument()));
            CHECK(NamesIn(longForm(deep.Path())) == std::vector<std::wstring>{L"app.exe.manifest"});
        }
        CHECK(ReadManifestFile(manifest) == kVendorManifest);
    }
}

TEST_CASE("Another maker's manifest goes to the Recycle Bin, from where it can be restored") {
    TempFolder folder;
    const std::wstring trash = TrashFolder();
    CAPTURE(trash);
    // A name of its own, so that the trash does not rename it.
    const std::wstring name = L"vendor-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(GetTickCount()) + L".exe.manifest";
    const std::wstring manifest = folder / name;
    REQUIRE(WriteBytes(manifest, kVendorManifest));
    REQUIRE(SetFileAttributesW(manifest.c_str(), kHiddenSystem));

    CHECK(RemoveManifest(manifest) == RemovalOutcome::SentToRecycleBin);
    CHECK_FALSE(IsManifestPresent(manifest));
    const std::wstring inTrash = trash + L"\\files\\" + name;
    CHECK(ReadBytes(inTrash) == kVendorManifest);
    SetFileAttributesW(inTrash.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(inTrash.c_str());
    DeleteFileW((trash + L"\\info\\" + name + L".trashinfo").c_str());
}

TEST_CASE("A manifest that cannot be removed stays as it was") {
    TempFolder folder;
    const std::wstring manifest = folder / L"app.exe.manifest";

    SUBCASE("held open by another process") {
        const struct {
            const char* what;
            std::string bytes;
            Sharing sharing;
        } cases[] = {
            {"own, shared with nobody", OwnDocument(), Sharing::Nobody},
            {"own, shared with readers", OwnDocument(), Sharing::Readers},
            {"another maker's, shared with nobody", kVendorManifest, Sharing::Nobody},
        };
        for (const auto& c : cases) {
            CAPTURE(c.what);
            SetFileAttributesW(manifest.c_str(), FILE_ATTRIBUTE_NORMAL);
            REQUIRE(WriteBytes(manifest, c.bytes));
            REQUIRE(SetFileAttributesW(manifest.c_str(), kHiddenSystem));
            {
                const HeldOpenFile held(manifest, c.sharing);
                CHECK(RemoveManifest(manifest) == RemovalOutcome::NotRemoved);
                CHECK(AttributesOf(manifest) == kHiddenSystem);
            }
            CHECK(ReadBytes(manifest) == c.bytes);
        }
    }
    SUBCASE("a folder of that name") {
        REQUIRE(CreateDirectoryW(manifest.c_str(), nullptr));
        CHECK(RemoveManifest(manifest) == RemovalOutcome::NotRemoved);
        CHECK((GetFileAttributesW(manifest.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0);
    }
    SUBCASE("missing") {
        RecordedYield yield{manifest};
        CHECK(RemoveManifest(manifest, yield.Callback()) == RemovalOutcome::NotRemoved);
        CHECK(yield.calls == 0);
    }
}

TEST_CASE("Where no Recycle Bin exists, another maker's manifest is left in place") {
    TempFolder folder;
    // Wine's unix namespace lies on no drive, and so has no Recycle Bin, like a network share.
    const std::wstring outside = UnixNamespacePath(folder.Path());
    if (outside.empty()) {
        MESSAGE("not running under Wine: no location without a Recycle Bin to test with");
        return;
    }
    const std::wstring vendor = outside + L"\\vendor.exe.manifest";
    REQUIRE(WriteBytes(vendor, kVendorManifest));
    CHECK(RemoveManifest(vendor) == RemovalOutcome::NotRemoved);
    CHECK(ReadBytes(folder / L"vendor.exe.manifest") == kVendorManifest);

    // This program's own manifest needs no Recycle Bin.
    const std::wstring own = outside + L"\\own.exe.manifest";
    REQUIRE(WriteBytes(own, OwnDocument()));
    CHECK(RemoveManifest(own) == RemovalOutcome::Removed);
    CHECK_FALSE(IsManifestPresent(folder / L"own.exe.manifest"));
}

namespace {

// A drive letter of this test's own (each architecture its own, as both may run at once), shown
// as a folder for as long as the object lives: the way SUBST maps a folder to a drive.
class MappedDrive {
public:
    explicit MappedDrive(const std::wstring& folder) {
        REQUIRE(DefineDosDeviceW(0, kLetter, folder.c_str()));
    }
    ~MappedDrive() { DefineDosDeviceW(DDD_REMOVE_DEFINITION, kLetter, nullptr); }
    MappedDrive(const MappedDrive&) = delete;
    MappedDrive& operator=(const MappedDrive&) = delete;
    std::wstring operator/(const std::wstring& name) const { return std::wstring(kLetter) + L"\\" + name; }
    wchar_t Letter() const { return kLetter[0]; }

private:
    static constexpr const wchar_t* kLetter = sizeof(void*) == 8 ? L"R:" : L"S:";
};

// A DWORD value of the current user's registry, set for the object's lifetime and then put back.
class UserSetting {
public:
    UserSetting(const std::wstring& path, const std::wstring& name, DWORD value) : path_(path), name_(name) {
        REQUIRE(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                                nullptr) == ERROR_SUCCESS);
        DWORD size = sizeof(previous_);
        DWORD type = 0;
        hadValue_ = RegQueryValueExW(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&previous_),
                                     &size) == ERROR_SUCCESS &&
                    type == REG_DWORD;
        REQUIRE(RegSetValueExW(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                               sizeof(value)) == ERROR_SUCCESS);
    }
    ~UserSetting() {
        if (hadValue_) {
            RegSetValueExW(key_, name_.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous_),
                           sizeof(previous_));
        } else {
            RegDeleteValueW(key_, name_.c_str());
        }
        RegCloseKey(key_);
    }
    UserSetting(const UserSetting&) = delete;
    UserSetting& operator=(const UserSetting&) = delete;

private:
    std::wstring path_;
    std::wstring name_;
    HKEY key_ = nullptr;
    DWORD previous_ = 0;
    bool hadValue_ = false;
};

}  // namespace

TEST_CASE("Another maker's manifest stays where no Recycle Bin is confirmed to keep it") {
    TempFolder folder;
    const std::wstring name = L"vendor-" + std::to_wstring(GetCurrentProcessId()) + L".exe.manifest";
    REQUIRE(WriteBytes(folder / name, kVendorManifest));
    REQUIRE(SetFileAttributesW((folder / name).c_str(), kHiddenSystem));

    SUBCASE("a policy that turns the Recycle Bin off") {
        const UserSetting policy(L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
                                 L"NoRecycleFiles", 1);
        CHECK(RemoveManifest(folder / name) == RemovalOutcome::NotRemoved);
    }
    SUBCASE("the drive's own bin set to delete at once") {
        const std::wstring volume = VolumeNameOf(folder.Path().substr(0, 3));
        const size_t open = volume.find(L'{');
        if (open == std::wstring::npos) {
            MESSAGE("the platform names no volume for this drive: no per-volume setting to test");
            return;
        }
        const UserSetting nuke(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket\\Volume\\" +
                                   volume.substr(open, volume.find(L'}') - open + 1),
                               L"NukeOnDelete", 1);
        CHECK(RemoveManifest(folder / name) == RemovalOutcome::NotRemoved);
    }
    CHECK(ReadBytes(folder / name) == kVendorManifest);
    CHECK(AttributesOf(folder / name) == kHiddenSystem);
}

TEST_CASE("A drive letter mapped onto a folder is no volume of its own, and so has no bin") {
    TempFolder folder;
    const wchar_t own = folder.Path()[0];
    CHECK(HasVolumeOfItsOwn(own));
    {
        const MappedDrive drive(folder.Path());
        CHECK_FALSE(HasVolumeOfItsOwn(drive.Letter()));
        CHECK_FALSE(HasConfirmedRecycleBin(drive / L"app.exe.manifest"));
    }
    CHECK(HasConfirmedRecycleBin(folder / L"app.exe.manifest"));
}

TEST_CASE("A removal refuses anything that is not a file named *.exe.manifest") {
    TempFolder folder;
    // Our own document under other names, and a text file: what a planted history might name.
    const std::wstring names[] = {L"data.bin", L"app.manifest", L"notes.txt", L"app.exe"};
    for (const std::wstring& name : names) {
        CAPTURE(name);
        REQUIRE(WriteBytes(folder / name, OwnDocument()));
        const ManifestRemoval removal = RemoveManifest(folder / name);
        CHECK(removal == RemovalOutcome::NotRemoved);
        CHECK(removal.failure == ManifestFailure::NotAManifest);
        CHECK(ReadBytes(folder / name) == OwnDocument());
    }
    REQUIRE(CreateDirectoryW((folder / L"dir.exe.manifest").c_str(), nullptr));
    CHECK(RemoveManifest(folder / L"dir.exe.manifest").failure == ManifestFailure::InTheWay);
    CHECK(RemoveManifest(folder / L"gone.exe.manifest").failure == ManifestFailure::Missing);
}

TEST_CASE("A removal does not go through a link named like a manifest that leads to a folder") {
    std::wstring link = XPV_MANIFEST_LINKS;
    std::replace(link.begin(), link.end(), L'/', L'\\');
    link += L"\\links\\folder.exe.manifest";
    REQUIRE((GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) != 0);
    const ManifestRemoval removal = RemoveManifest(link);
    CHECK(removal == RemovalOutcome::NotRemoved);
    // Refused as a link, not as a folder in the way: the link is never followed.
    CHECK(removal.failure == ManifestFailure::BehindLink);
    CHECK(GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES);
}

TEST_CASE("Nothing is written or removed through a link, whether a folder of the path or the manifest itself") {
    const std::wstring tree = xpv_test::FixturePath(XPV_MANIFEST_LINKS);
    // "via" leads to "elsewhere", which holds a program and its manifest; "file.exe.manifest"
    // leads to a read-only file in "target".
    const std::wstring elsewhere = tree + L"\\elsewhere";
    const std::wstring readOnlyTarget = tree + L"\\target\\read-only.txt";
    REQUIRE((GetFileAttributesW(readOnlyTarget.c_str()) & FILE_ATTRIBUTE_READONLY) != 0);
    const std::vector<std::wstring> elsewhereNames = NamesIn(elsewhere);
    const std::string manifestElsewhere = ReadBytes(elsewhere + L"\\app.exe.manifest");
    const std::wstring paths[] = {tree + L"\\via\\app.exe.manifest", tree + L"\\via\\new.exe.manifest",
                                  tree + L"\\links\\file.exe.manifest"};
    for (const std::wstring& path : paths) {
        CAPTURE(path);
        CHECK(WriteManifestFile(path, OwnDocument()).failure == ManifestFailure::BehindLink);
        CHECK(RemoveManifest(path).failure == ManifestFailure::BehindLink);
    }
    CHECK(NamesIn(elsewhere) == elsewhereNames);
    CHECK(ReadBytes(elsewhere + L"\\app.exe.manifest") == manifestElsewhere);
    CHECK(AttributesOf(readOnlyTarget) == FILE_ATTRIBUTE_READONLY);
    CHECK(ReadBytes(readOnlyTarget).empty());
}
