#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <set>

#include "TestSupport.h"
#include "WineDrive.h"
#include "commandlist/SafeSave.h"
#include "platform/PlatformError.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32FileSystem.h"

// After <windows.h>, which TestSupport.h brings.
#include <aclapi.h>
#include <sddl.h>

namespace {

constexpr std::uint64_t NoLimit = std::numeric_limits<std::uint64_t>::max();

// A drive without media must fail quietly here as in the program.
class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override { SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX); }

    Win32FileSystem files;
};

void SetAttributes(const std::wstring& path, DWORD attributes) {
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), attributes));
    // Wine keeps DOS attributes in extended attributes; where the file system has none,
    // the test could not tell a fault from a missing feature.
    ASSERT_EQ(GetFileAttributesW(path.c_str()) & attributes, attributes)
        << "the file system does not keep the attributes";
}

TEST_F(FileSystemTest, DirectoryExistsAsTheProgramAsksIt) {
    TempFolder folder(L"tvm日本");
    WriteFileBytes(folder.file(L"file.txt"), "x");
    const std::string base = ToUtf8(folder.path());
    struct Case {
        std::string path;
        bool exists;
    };
    const Case cases[] = {
        {base, true},         // Japanese in the name
        {base + "\\", true},  // the doubled backslash still names it
        {"C:", true},         // a bare drive is its root
        {"C:\\", true},
        {base + "\\missing", false},
        {base + "\\file.txt", false},   // an ordinary file is no folder
        {"C:\\Windows\\c:\\x", false},  // malformed
        {"Q:\\", false},                // a drive that is not there
        {"", true},                     // "\\": the root of the current drive
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(files.directoryExists(c.path), c.exists);
    }
}

TEST_F(FileSystemTest, FileExistsOnlyForOrdinaryFiles) {
    TempFolder folder(L"tvm日本");
    WriteFileBytes(folder.file(L"plain.txt"), "x");
    WriteFileBytes(folder.file(L"リスト.txt"), "x");
    WriteFileBytes(folder.file(L"hidden.txt"), "x");
    WriteFileBytes(folder.file(L"system.txt"), "x");
    WriteFileBytes(folder.file(L"readonly.txt"), "x");
    WriteFileBytes(folder.file(L"archived.txt"), "x");
    CreateDirectoryW(folder.file(L"sub").c_str(), nullptr);
    SetAttributes(folder.file(L"hidden.txt"), FILE_ATTRIBUTE_HIDDEN);
    SetAttributes(folder.file(L"system.txt"), FILE_ATTRIBUTE_SYSTEM);
    SetAttributes(folder.file(L"readonly.txt"), FILE_ATTRIBUTE_READONLY);
    SetAttributes(folder.file(L"archived.txt"), FILE_ATTRIBUTE_ARCHIVE);
    const std::string base = ToUtf8(folder.path());
    struct Case {
        std::string path;
        bool exists;
    };
    const Case cases[] = {
        {base + "\\plain.txt", true},
        {base + "\\PLAIN.TXT", true},  // letter case does not matter
        {base + "\\リスト.txt", true},
        {base + "\\readonly.txt", true},  // read-only and archive are ordinary
        {base + "\\archived.txt", true},
        {base + "\\hidden.txt", false},
        {base + "\\system.txt", false},
        {base + "\\sub", false},
        {base, false},
        {base + "\\missing.txt", false},
        {base + "\\missing\\plain.txt", false},
        {"Q:\\plain.txt", false},
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(files.fileExists(c.path), c.exists);
    }
    SetFileAttributesW(folder.file(L"readonly.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileSystemTest, DrivesAreSingleLettersInOrderWithLabelsForReadyOnes) {
    const std::vector<std::string> drives = files.drives();
    ASSERT_FALSE(drives.empty());
    EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end()));
    EXPECT_EQ(std::set<std::string>(drives.begin(), drives.end()).size(), drives.size());
    for (const std::string& drive : drives) {
        EXPECT_TRUE(drive.size() == 1 && drive[0] >= 'A' && drive[0] <= 'Z') << drive;
    }
    EXPECT_NE(std::find(drives.begin(), drives.end(), "C"), drives.end());
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
        // Wine maps the Unix root to Z:.
        EXPECT_NE(std::find(drives.begin(), drives.end(), "Z"), drives.end());
    }

    EXPECT_NO_THROW(files.volumeLabel("C"));
    EXPECT_NO_THROW(files.volumeLabel("c:"));
    std::string absent;
    for (char letter = 'Z'; letter >= 'D' && absent.empty(); --letter) {
        if (std::find(drives.begin(), drives.end(), std::string(1, letter)) == drives.end())
            absent = std::string(1, letter);
    }
    ASSERT_FALSE(absent.empty());
    SCOPED_TRACE("absent drive " + absent);
    EXPECT_THROW(files.volumeLabel(absent), PlatformError);
    EXPECT_THROW(files.volumeLabel(""), PlatformError);
}

TEST_F(FileSystemTest, ListFolderSortsWithoutCaseAndReportsKinds) {
    TempFolder folder(L"tvm");
    for (const wchar_t* name : {L"beta.txt", L"Alpha.txt", L"item2", L"item10", L"日本.txt",
                                L"hidden.txt", L"system.txt", L"zeta.TXT"}) {
        WriteFileBytes(folder.file(name), "x");
    }
    CreateDirectoryW(folder.file(L"Gamma").c_str(), nullptr);
    CreateDirectoryW(folder.file(L"delta").c_str(), nullptr);
    SetAttributes(folder.file(L"hidden.txt"), FILE_ATTRIBUTE_HIDDEN);
    SetAttributes(folder.file(L"system.txt"), FILE_ATTRIBUTE_SYSTEM);
    SetAttributes(folder.file(L"delta"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);

    struct Expected {
        std::string name;
        bool directory, hidden, system;
    };
    const Expected expected[] = {
        {"Alpha.txt", false, false, false}, {"beta.txt", false, false, false},
        {"delta", true, true, false},       {"Gamma", true, false, false},
        {"hidden.txt", false, true, false}, {"item10", false, false, false},
        {"item2", false, false, false},     {"system.txt", false, false, true},
        {"zeta.TXT", false, false, false},  {"日本.txt", false, false, false},
    };
    const std::string base = ToUtf8(folder.path());
    for (const std::string& given : {base, base + "\\"}) {
        SCOPED_TRACE(given);
        const std::vector<FolderEntry> entries = files.listFolder(given);
        ASSERT_EQ(entries.size(), std::size(expected));
        for (size_t i = 0; i < entries.size(); ++i) {
            SCOPED_TRACE(expected[i].name);
            EXPECT_EQ(entries[i].name, expected[i].name);
            EXPECT_EQ(entries[i].directory, expected[i].directory);
            EXPECT_EQ(entries[i].hidden, expected[i].hidden);
            EXPECT_EQ(entries[i].system, expected[i].system);
        }
    }
}

TEST_F(FileSystemTest, ListFolderOfEmptyFolderAndDriveRoot) {
    TempFolder folder(L"tvm");
    EXPECT_TRUE(files.listFolder(ToUtf8(folder.path())).empty());
    for (const std::string root : {"C:\\", "C:"}) {
        SCOPED_TRACE(root);
        const auto entries = files.listFolder(root);
        const bool hasWindows = std::any_of(entries.begin(), entries.end(), [](const auto& e) {
            return e.directory && (e.name == "windows" || e.name == "Windows");
        });
        EXPECT_TRUE(hasWindows);
        for (const auto& entry : entries) EXPECT_NE(entry.name, "..");
    }
}

TEST_F(FileSystemTest, ListFolderFailureCarriesTheSystemText) {
    TempFolder folder(L"tvm");
    WriteFileBytes(folder.file(L"file.txt"), "x");
    for (const std::wstring& path : {folder.file(L"missing"), folder.file(L"missing\\deeper")}) {
        SCOPED_TRACE(ToUtf8(path));
        try {
            files.listFolder(ToUtf8(path));
            ADD_FAILURE() << "no error";
        } catch (const PlatformError& error) {
            EXPECT_EQ(std::string(error.what()), SystemErrorText(ERROR_PATH_NOT_FOUND));
        }
    }
    // A file is no folder (the error differs between Windows and Wine).
    EXPECT_THROW(files.listFolder(ToUtf8(folder.file(L"file.txt"))), PlatformError);
}

TEST_F(FileSystemTest, ReadFileGivesEveryByte) {
    TempFolder folder(L"tvm日本");
    std::string many;
    for (int line = 0; line < 100000; ++line) many += "line " + std::to_string(line) + "\r\n";
    std::string everyByte;
    for (int b = 0; b < 256; ++b) everyByte.push_back(static_cast<char>(b));
    const std::pair<std::wstring, std::string> cases[] = {
        {L"empty.txt", ""},
        {L"many.txt", many},
        {L"bytes.bin", everyByte + everyByte},
        {L"名前.txt", "\x93\xfa\x96\x7b\r\n"},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(ToUtf8(name));
        WriteFileBytes(folder.file(name), bytes);
        EXPECT_EQ(files.readFile(ToUtf8(folder.file(name)), NoLimit), bytes);
    }
    EXPECT_THROW(files.readFile(ToUtf8(folder.file(L"missing.txt")), NoLimit), PlatformError);
    EXPECT_THROW(files.readFile(ToUtf8(folder.path()), NoLimit), PlatformError);
}

TEST_F(FileSystemTest, AReplacementIsWrittenAndRenamedOverTheTargetWhole) {
    TempFolder folder(L"tvm日本");
    const std::string base = ToUtf8(folder.path()) + "\\";
    struct Case {
        const char* name;
        const char* old;  // nullptr: the target does not exist yet
        std::string bytes;
    };
    const Case cases[] = {
        {"new.txt", nullptr, "echo 1\r\necho 2"},
        {"existing.txt", "old content that is longer than the new one", "short"},
        {"リスト.txt", "old", std::string("\xEF\xBB\xBF") + "日本"},
        {"emptied.txt", "old", ""},
        {"large.txt", "old", std::string(3 << 20, 'x')},  // more than one write call
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = base + c.name;
        if (c.old) WriteFileBytes(ToWide(target), c.old);
        const auto replacement = files.createReplacement(target);
        replacement->write(c.bytes);
        EXPECT_EQ(ReadFileBytes(ToWide(target)), c.old ? c.old : "") << "changed before the rename";
        replacement->replaceTarget();
        EXPECT_EQ(ReadFileBytes(ToWide(target)), c.bytes);
    }
    // Nothing else is left behind.
    EXPECT_EQ(files.listFolder(base).size(), std::size(cases));
}

TEST_F(FileSystemTest, AReplacementDroppedBeforeTheRenameIsGone) {
    TempFolder folder(L"tvm");
    const std::string target = ToUtf8(folder.file(L"list.txt"));
    WriteFileBytes(ToWide(target), "old");
    {
        const auto replacement = files.createReplacement(target);
        EXPECT_EQ(files.listFolder(ToUtf8(folder.path())).size(), 2u) << "no new file beside it";
        replacement->write("new");
    }
    EXPECT_EQ(files.listFolder(ToUtf8(folder.path())).size(), 1u);
    EXPECT_EQ(ReadFileBytes(ToWide(target)), "old");
}

TEST_F(FileSystemTest, AReplacementIsRefusedBeforeAnythingIsMade) {
    TempFolder folder(L"tvm");
    const std::wstring locked = folder.file(L"locked.txt");
    WriteFileBytes(locked, "old bytes");
    SetAttributes(locked, FILE_ATTRIBUTE_READONLY);
    const std::pair<std::wstring, DWORD> cases[] = {
        {locked, ERROR_ACCESS_DENIED},  // Windows would refuse the rename, Wine would not
        {folder.file(L"missing\\file.txt"), ERROR_PATH_NOT_FOUND},
    };
    for (const auto& [target, error] : cases) {
        SCOPED_TRACE(ToUtf8(target));
        try {
            files.createReplacement(ToUtf8(target));
            ADD_FAILURE() << "a replacement was made";
        } catch (const PlatformError& failure) {
            EXPECT_EQ(std::string(failure.what()), SystemErrorText(error));
        }
        EXPECT_EQ(files.listFolder(ToUtf8(folder.path())).size(), 1u);
    }
    EXPECT_EQ(ReadFileBytes(locked), "old bytes");
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileSystemTest, AStampTellsWhenAFileWasChangedOrReplaced) {
    TempFolder folder(L"tvm");
    const std::wstring path = folder.file(L"list.txt");
    WriteFileBytes(path, "echo 1");
    const auto first = files.fileStamp(ToUtf8(path));
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(files.fileStamp(ToUtf8(path)), first) << "unchanged, yet another stamp";
    ASSERT_TRUE(CreateHardLinkW(folder.file(L"other name.txt").c_str(), path.c_str(), nullptr));
    const auto linked = files.fileStamp(ToUtf8(folder.file(L"other name.txt")));
    ASSERT_TRUE(linked.has_value());
    EXPECT_TRUE(linked->sameFile(*first)) << "another name is the same file";

    // Written in place with the same size: the write time tells.
    WriteFileBytes(path, "echo 2");
    {
        HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        FILETIME later;
        const std::uint64_t time = first->lastWrite + 10'000'000;  // a second later
        later.dwLowDateTime = static_cast<DWORD>(time);
        later.dwHighDateTime = static_cast<DWORD>(time >> 32);
        ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &later));
        CloseHandle(file);
    }
    const auto rewritten = files.fileStamp(ToUtf8(path));
    ASSERT_TRUE(rewritten.has_value());
    EXPECT_TRUE(rewritten->sameFile(*first));
    EXPECT_NE(rewritten, first);

    // Replaced by another file under its name, as editors save.
    SaveFileSafely(files, ToUtf8(path), "echo 2");
    const auto replaced = files.fileStamp(ToUtf8(path));
    ASSERT_TRUE(replaced.has_value());
    EXPECT_FALSE(replaced->sameFile(*first));

    EXPECT_EQ(files.fileStamp(ToUtf8(folder.file(L"missing.txt"))), std::nullopt);
    EXPECT_EQ(files.fileStamp(ToUtf8(folder.path())), std::nullopt);
}

TEST_F(FileSystemTest, FullPathsAreTakenFromTheCurrentDirectory) {
    TempFolder folder(L"tvm日本");
    const std::string before = files.currentDirectory();
    files.setCurrentDirectory(ToUtf8(folder.path()));
    const std::string relative = files.fullPath("sub\\..\\list.txt");
    const std::string slashes = files.fullPath(ToUtf8(folder.path()) + "/a/./b.txt");
    files.setCurrentDirectory(before);
    EXPECT_EQ(ToWide(relative), folder.file(L"list.txt"));
    EXPECT_EQ(ToWide(slashes), folder.file(L"a\\b.txt"));
    EXPECT_EQ(files.fullPath("C:\\Lists\\a.txt"), "C:\\Lists\\a.txt");
}

TEST_F(FileSystemTest, CurrentDirectoryFollowsSetAndRefusesMissingFolders) {
    TempFolder folder(L"tvm日本");
    const std::string before = files.currentDirectory();
    ASSERT_FALSE(before.empty());
    files.setCurrentDirectory(ToUtf8(folder.path()));
    const std::string now = files.currentDirectory();
    files.setCurrentDirectory(before);
    EXPECT_EQ(ToWide(now), folder.path());
    EXPECT_EQ(files.currentDirectory(), before);
    EXPECT_THROW(files.setCurrentDirectory(ToUtf8(folder.file(L"missing"))), PlatformError);
    EXPECT_EQ(files.currentDirectory(), before);
}

// The names in a folder, for checking that nothing was left behind.
std::set<std::string> NamesIn(Win32FileSystem& files, const std::wstring& folder) {
    std::set<std::string> names;
    for (const FolderEntry& entry : files.listFolder(ToUtf8(folder))) names.insert(entry.name);
    return names;
}

// The access rights of a file as text (SDDL), empty when they cannot be read.
std::wstring AccessRightsOf(const std::wstring& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return {};
    }
    LPWSTR text = nullptr;
    ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                         DACL_SECURITY_INFORMATION, &text, nullptr);
    std::wstring result = text ? text : L"";
    LocalFree(text);
    LocalFree(descriptor);
    return result;
}

// This process's user, as SDDL names it.
std::wstring CurrentUserSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    unsigned char buffer[256];
    DWORD size = 0;
    std::wstring result;
    if (GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size)) {
        LPWSTR text = nullptr;
        if (ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &text)) {
            result = text;
            LocalFree(text);
        }
    }
    CloseHandle(token);
    return result;
}

// Gives the file at path access rights for this process's user alone; false when it cannot.
bool GrantOwnerAlone(const std::wstring& path) {
    const std::wstring rights = L"D:P(A;;FA;;;" + CurrentUserSid() + L")";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(rights.c_str(), SDDL_REVISION_1,
                                                              &descriptor, nullptr))
        return false;
    const bool set = SetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
    return set;
}

// Makes link, in folder, a symbolic link to the name target in the same folder. Windows makes
// one without privileges in developer mode. Wine 8's CreateSymbolicLinkW makes nothing and
// reports success; there the system's own ln makes a Unix symbolic link, which Wine follows as
// Windows follows its links. False when neither can.
bool MakeSymbolicLink(const std::wstring& folder, const std::wstring& link,
                      const std::wstring& target) {
    const std::wstring path = folder + L"\\" + link;
    const auto linked = [&] {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(path.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return false;
        FindClose(search);
        return true;
    };
    if (CreateSymbolicLinkW(path.c_str(), target.c_str(), 0x2 /* unprivileged */) && linked()) {
        return true;
    }
    if (!RunningUnderWine()) return false;
    std::wstring command = L"ln -s " + target + L" " + link;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(L"Z:\\bin\\ln", command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // A Unix process cannot be waited for through its handle: watch for the link instead.
    return WaitUntil(linked, std::chrono::seconds(10));
}

TEST_F(FileSystemTest, ReadFileRefusesMoreBytesThanAllowed) {
    TempFolder folder(L"tvm");
    const std::wstring path = folder.file(L"five.txt");
    WriteFileBytes(path, "12345");
    WriteFileBytes(folder.file(L"empty.txt"), "");
    EXPECT_EQ(files.readFile(ToUtf8(path), 5), "12345");
    EXPECT_EQ(files.readFile(ToUtf8(folder.file(L"empty.txt")), 0), "");
    for (const std::uint64_t limit : {std::uint64_t{4}, std::uint64_t{0}}) {
        SCOPED_TRACE(limit);
        try {
            files.readFile(ToUtf8(path), limit);
            ADD_FAILURE() << "read past the limit";
        } catch (const FileTooLarge& error) {
            EXPECT_EQ(error.limit(), limit);
        }
    }
}

// Saving as the program does it: through SaveFileSafely.
TEST_F(FileSystemTest, SavingKeepsHiddenAndSystemAttributes) {
    TempFolder folder(L"tvm日本");
    struct Case {
        const wchar_t* name;
        DWORD attributes;
        bool forwardSlashes;
    };
    const Case cases[] = {
        {L"hidden.txt", FILE_ATTRIBUTE_HIDDEN, false},
        {L"system.txt", FILE_ATTRIBUTE_SYSTEM, false},
        {L"both.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, false},
        {L"plain.txt", 0, false},
        {L"slashes.txt", FILE_ATTRIBUTE_HIDDEN, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.name));
        const std::wstring target = folder.file(c.name);
        WriteFileBytes(target, "old");
        if (c.attributes) SetAttributes(target, c.attributes);
        std::string path = ToUtf8(target);
        if (c.forwardSlashes) std::replace(path.begin(), path.end(), '\\', '/');
        SaveFileSafely(files, path, "new");
        EXPECT_EQ(ReadFileBytes(target), "new");
        const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        EXPECT_EQ(GetFileAttributesW(target.c_str()) & kept, c.attributes);
    }
    EXPECT_EQ(files.listFolder(ToUtf8(folder.path())).size(), std::size(cases))
        << "a temporary file was left behind";
}

TEST_F(FileSystemTest, SavingANewFileWrittenWithForwardSlashes) {
    TempFolder folder(L"tvm");
    std::string path = ToUtf8(folder.file(L"new.txt"));
    std::replace(path.begin(), path.end(), '\\', '/');
    SaveFileSafely(files, path, "new");
    EXPECT_EQ(ReadFileBytes(folder.file(L"new.txt")), "new");
    EXPECT_EQ(NamesIn(files, folder.path()), std::set<std::string>{"new.txt"});
}

TEST_F(FileSystemTest, SavingKeepsTheAccessRights) {
    TempFolder folder(L"tvm");
    const std::wstring target = folder.file(L"rights.txt");
    const std::wstring fresh = folder.file(L"fresh.txt");
    WriteFileBytes(target, "old");
    WriteFileBytes(fresh, "x");
    // The owner's alone: narrower than a new file's rights, which let everyone read it.
    ASSERT_TRUE(GrantOwnerAlone(target));
    const std::wstring before = AccessRightsOf(target);
    ASSERT_FALSE(before.empty());
    // Wine keeps access rights as the Unix mode, which the rights above change.
    ASSERT_NE(before, AccessRightsOf(fresh)) << "the file system keeps no rights of its own";

    SaveFileSafely(files, ToUtf8(target), "new");
    EXPECT_EQ(ReadFileBytes(target), "new");
    EXPECT_EQ(AccessRightsOf(target), before);
    EXPECT_EQ(NamesIn(files, folder.path()), (std::set<std::string>{"fresh.txt", "rights.txt"}));
}

TEST_F(FileSystemTest, SavingThroughASymbolicLinkWritesItsTarget) {
    TempFolder folder(L"tvm");
    WriteFileBytes(folder.file(L"target.txt"), "old");
    SetAttributes(folder.file(L"target.txt"), FILE_ATTRIBUTE_HIDDEN);
    if (!MakeSymbolicLink(folder.path(), L"link.txt", L"target.txt")) {
        GTEST_SKIP() << "no symbolic link can be made here";
    }
    SaveFileSafely(files, ToUtf8(folder.file(L"link.txt")), "new");
    EXPECT_EQ(ReadFileBytes(folder.file(L"target.txt")), "new") << "the link was replaced";
    EXPECT_NE(GetFileAttributesW(folder.file(L"target.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    // Still a link: it leads to the target.
    EXPECT_EQ(files.finalPath(ToUtf8(folder.file(L"link.txt"))),
              files.finalPath(ToUtf8(folder.file(L"target.txt"))));
    EXPECT_EQ(NamesIn(files, folder.path()), (std::set<std::string>{"link.txt", "target.txt"}));
}

// A hard link is a name of the file like any other: the name saved to gets the new content; the
// file's other names keep the old one, as the replacement is a new file.
TEST_F(FileSystemTest, SavingThroughAHardLinkReplacesThatNameAlone) {
    TempFolder folder(L"tvm");
    WriteFileBytes(folder.file(L"first.txt"), "old");
    ASSERT_TRUE(CreateHardLinkW(folder.file(L"second.txt").c_str(),
                                folder.file(L"first.txt").c_str(), nullptr));
    SetAttributes(folder.file(L"second.txt"), FILE_ATTRIBUTE_HIDDEN);
    SaveFileSafely(files, ToUtf8(folder.file(L"second.txt")), "new");
    EXPECT_EQ(ReadFileBytes(folder.file(L"second.txt")), "new");
    EXPECT_NE(GetFileAttributesW(folder.file(L"second.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(ReadFileBytes(folder.file(L"first.txt")), "old");
    EXPECT_EQ(NamesIn(files, folder.path()), (std::set<std::string>{"first.txt", "second.txt"}));
}

TEST_F(FileSystemTest, AFailedSaveLeavesNoTemporaryFileAndTheOldFile) {
    TempFolder folder(L"tvm");
    WriteFileBytes(folder.file(L"locked.txt"), "old");
    SetAttributes(folder.file(L"locked.txt"), FILE_ATTRIBUTE_READONLY);
    CreateDirectoryW(folder.file(L"folder.txt").c_str(), nullptr);
    // Wine shows a Unix link that leads nowhere as nothing at all, so only Windows makes one.
    const bool dangling =
        CreateSymbolicLinkW(folder.file(L"dangling.txt").c_str(), L"missing.txt", 0x2) &&
        NamesIn(files, folder.path()).count("dangling.txt") > 0;
    struct Case {
        const wchar_t* name;
        const char* step;
    };
    std::vector<Case> cases = {
        {L"missing\\new.txt", "the temporary file cannot be made"},
        {L"locked.txt", "a read-only file is not replaced"},
        {L"folder.txt", "a folder is not replaced"},
    };
    if (dangling) cases.push_back({L"dangling.txt", "a link that leads nowhere is not replaced"});
    const std::set<std::string> before = NamesIn(files, folder.path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        EXPECT_THROW(SaveFileSafely(files, ToUtf8(folder.file(c.name)), "new"), PlatformError);
        EXPECT_EQ(NamesIn(files, folder.path()), before);
    }
    EXPECT_EQ(ReadFileBytes(folder.file(L"locked.txt")), "old");
    SetFileAttributesW(folder.file(L"locked.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileSystemTest, DriveKindsAndConnectionsWithoutOpeningTheDrive) {
    EXPECT_EQ(files.driveKind("C"), DriveKind::Fixed);
    EXPECT_EQ(files.driveKind("c:"), DriveKind::Fixed);
    EXPECT_EQ(files.driveKind(""), DriveKind::Unknown);
    EXPECT_EQ(files.connectionName("C"), std::nullopt);
    if (!RunningUnderWine()) GTEST_SKIP() << "drives of other kinds are mapped under Wine only";

    TempFolder folder(L"tvm");
    struct Case {
        UINT type;
        DriveKind kind;
    };
    std::string unmapped;
    for (const Case& c :
         {Case{DRIVE_FIXED, DriveKind::Fixed}, Case{DRIVE_REMOVABLE, DriveKind::Removable},
          Case{DRIVE_CDROM, DriveKind::CdRom}}) {
        SCOPED_TRACE(c.type);
        WineDrive drive(c.type, folder.path());
        unmapped = drive.name();
        ASSERT_NE(drive.letter(), 0) << "Wine's mount manager mapped no drive";
        const auto letters = files.drives();
        EXPECT_NE(std::find(letters.begin(), letters.end(), drive.name()), letters.end());
        EXPECT_EQ(files.driveKind(drive.name()), c.kind);
        EXPECT_EQ(files.connectionName(drive.name()), std::nullopt);
    }
    // The last one is gone again: its letter names no drive.
    EXPECT_EQ(files.driveKind(unmapped), DriveKind::Unknown);
    WineDrive share(L"tavimero", L"lists");
    ASSERT_NE(share.letter(), 0) << "Wine's mount manager mapped no network drive";
    EXPECT_EQ(files.driveKind(share.name()), DriveKind::Remote);
    EXPECT_EQ(files.connectionName(share.name()), "\\\\tavimero\\lists");
    EXPECT_EQ(files.connectionName(share.name() + ":"), "\\\\tavimero\\lists");
}

}  // namespace

namespace {
// The \\?\ form of an absolute path, which the test's own calls use at any length.
std::wstring Prefixed(const std::wstring& path) { return L"\\\\?\\" + path; }
}  // namespace

TEST_F(FileSystemTest, AReplacementHasTheTargetsAccessRightsFromTheStart) {
    TempFolder folder(L"tvm");
    const std::wstring target = folder.file(L"private.txt");
    WriteFileBytes(target, "old");
    ASSERT_TRUE(GrantOwnerAlone(target));
    const std::wstring before = AccessRightsOf(target);

    const auto replacement = files.createReplacement(ToUtf8(target));
    std::set<std::string> names = NamesIn(files, folder.path());
    names.erase("private.txt");
    ASSERT_EQ(names.size(), 1u);
    // Before a byte is written, not only once it takes the target's place.
    EXPECT_EQ(AccessRightsOf(folder.file(ToWide(*names.begin()))), before);
    replacement->write("new");
    replacement->replaceTarget();
    EXPECT_EQ(AccessRightsOf(target), before);
}

TEST_F(FileSystemTest, AListFileAtAPathOfThreeHundredCharactersOpensAndSaves) {
    TempFolder folder(L"tvm");
    std::vector<std::wstring> folders;
    std::wstring deep = folder.path();
    // Folders past the old limit of a folder's path, and a file name that ends at 300.
    while (deep.size() < 250) {
        deep += L"\\" + std::wstring(40, static_cast<wchar_t>(L'a' + folders.size()));
        ASSERT_TRUE(CreateDirectoryW(Prefixed(deep).c_str(), nullptr)) << GetLastError();
        folders.push_back(deep);
    }
    const std::wstring list = deep + L"\\" + std::wstring(300 - deep.size() - 5, L'l') + L".txt";
    ASSERT_EQ(list.size(), 300u);
    WriteFileBytes(Prefixed(list), "dir\r\nver");
    const std::string path = ToUtf8(list);

    EXPECT_TRUE(files.fileExists(path));
    EXPECT_TRUE(files.directoryExists(ToUtf8(deep)));
    EXPECT_EQ(files.fullPath(path), path);
    EXPECT_TRUE(files.fileStamp(path).has_value());
    EXPECT_EQ(files.readFile(path, NoLimit), "dir\r\nver");
    EXPECT_EQ(files.finalPath(path), path);
    SaveFileSafely(files, path, "cd ..\r\ndir\r\nver");
    EXPECT_EQ(ReadFileBytes(Prefixed(list)), "cd ..\r\ndir\r\nver");
    EXPECT_EQ(files.listFolder(ToUtf8(Prefixed(deep))).size(), 1u)
        << "the new file was left beside it";

    DeleteFileW(Prefixed(list).c_str());
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
        RemoveDirectoryW(Prefixed(*it).c_str());
    }
}
