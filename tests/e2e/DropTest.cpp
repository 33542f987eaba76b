// Files dropped from the shell on the main window: through the real OLE drop target of a
// control in the running program, with a shell file list, as a drag from the shell ends.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "DirectorySteps.h"
#include "Driver.h"
#include "Remote.h"
#include "Steps.h"
#include "SystemBoxes.h"
#include "forms/ControlIds.h"

#ifndef TAVIMERO_DROP_PROBE
#define TAVIMERO_DROP_PROBE ""
#endif

namespace e2e {
namespace {

// Starts a drop of the paths (UTF-8, one a line) on the main window's control id through the
// probe library; the name of the file the probe's report will be in, or nothing when the probe
// could not be loaded. The drop may still be running when this returns (a message it shows).
std::optional<std::wstring> startDrop(Session& s, int id, const std::string& paths) {
    static int drops = 0;
    // A new name for every drop: the library stays loaded after its drop.
    const std::wstring name = L"DropProbe" + std::to_wstring(++drops);
    const std::wstring probe = s.pathOf(name + L".dll");
    if (!CopyFileW(toWindowsPath(TAVIMERO_DROP_PROBE).c_str(), probe.c_str(), FALSE)) {
        ADD_FAILURE() << "the probe library " << TAVIMERO_DROP_PROBE << " is missing";
        return std::nullopt;
    }
    Handle request(CreateFileW(s.pathOf(name + L".in").c_str(), GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::string text = std::to_string(id) + "\n" + paths + "\n";
    DWORD written = 0;
    WriteFile(request.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    request = Handle();
    if (!loadLibraryInto(s.process(), s.pid(), probe, kEffectTimeout)) {
        ADD_FAILURE() << "the probe library did not load";
        return std::nullopt;
    }
    return name + L".txt";
}

// Drops the paths as startDrop does and waits for the drop to end: what the probe reports, or
// nothing when it reported nothing in time.
std::optional<std::string> dropOn(Session& s, int id, const std::string& paths) {
    const auto reportFile = startDrop(s, id, paths);
    if (!reportFile) return std::nullopt;
    std::optional<std::string> report;
    pollUntil([&] { return (report = s.readFile(*reportFile)).has_value(); }, kEffectTimeout);
    return report;
}

TEST(Drop, AFileDroppedOnTheCommandBoxAppendsItsQuotedName) {
    Session s;
    s.setText(ids::txtCommand, "type ");
    const std::string file = narrow(s.pathOf(L"日本語 メモ.txt"));
    const auto report = dropOn(s, ids::txtCommand, file);
    ASSERT_TRUE(report) << "the probe wrote nothing\n" << s.report();
    EXPECT_EQ(*report, "target 1\nenter 1\ndrop 1\n") << "a copy, offered and taken";
    const std::string expected = "type \"" + file + "\"";
    ASSERT_TRUE(boxHolds(s, expected));
    // The caret after the name, counted as the control counts: in UTF-16 units.
    const auto selection = static_cast<DWORD>(sendTo(s.control(ids::txtCommand), EM_GETSEL, 0, 0));
    EXPECT_EQ(LOWORD(selection), widen(expected).size());
    EXPECT_EQ(HIWORD(selection), widen(expected).size());
}

TEST(Drop, ADroppedPathWithAnAmpersandArrivesQuotedAndRuns) {
    Session s;
    runningPrompt(s);
    // Unquoted, the prompt would run "...\R" and then "D\build.bat".
    ASSERT_TRUE(CreateDirectoryW(s.pathOf(L"R&D").c_str(), nullptr));
    const std::string batch = narrow(s.pathOf(L"R&D\\build.bat"));
    ASSERT_TRUE(writeBytes(s.pathOf(L"R&D\\build.bat"),
                           "@echo built> \"" + narrow(s.pathOf(L"built.txt")) + "\"\r\n"));
    ASSERT_TRUE(dropOn(s, ids::txtCommand, batch)) << s.report();
    ASSERT_TRUE(boxHolds(s, "\"" + batch + "\""));
    s.click(ids::cmdSendAndDo);
    EXPECT_TRUE(fileHolds(s, L"built.txt", "built\r\n"));
}

TEST(Drop, ControlsNotMeantForFilesHaveNoDropTarget) {
    Session s;
    const auto report = dropOn(s, ids::txtCD, "C:\\windows");
    ASSERT_TRUE(report) << "the probe wrote nothing\n" << s.report();
    EXPECT_EQ(*report, "target 0\n");
}

TEST(Drop, PercentAndExclamationMarksOfADroppedFolderReachThePrompt) {
    Session s;
    runningPrompt(s);
    ASSERT_TRUE(execute(s, "set TAVI=expanded"));
    // Were a name replaced, the prompt would land in the folder beside it.
    for (const wchar_t* name : {L"x%OS%y", L"xWindows_NTy", L"a%TAVI%b!c", L"aexpandedb!c"})
        ASSERT_TRUE(CreateDirectoryW(s.pathOf(name).c_str(), nullptr)) << narrow(name);
    for (const wchar_t* name : {L"x%OS%y", L"a%TAVI%b!c"}) {
        SCOPED_TRACE(narrow(name));
        ASSERT_TRUE(dropOn(s, ids::lstCommand, narrow(s.pathOf(name)))) << s.report();
        EXPECT_TRUE(boxShowsPromptDirectory(s, s.pathOf(name)));
    }
}

TEST(Drop, AFileNameWithPercentSignsDroppedOnTheCommandBoxIsTheFileThePromptOpens) {
    Session s;
    runningPrompt(s);
    ASSERT_TRUE(writeBytes(s.pathOf(L"%OS%.txt"), "percent\r\n"));
    ASSERT_TRUE(writeBytes(s.pathOf(L"Windows_NT.txt"), "replaced\r\n"));
    s.setText(ids::txtCommand, "type ");
    ASSERT_TRUE(dropOn(s, ids::txtCommand, narrow(s.pathOf(L"%OS%.txt")))) << s.report();
    const std::string command = s.text(ids::txtCommand);
    EXPECT_EQ(command.find("%OS%"), std::string::npos) << command;
    ASSERT_TRUE(execute(s, command + " > \"" + narrow(s.pathOf(L"typed.txt")) + "\""));
    EXPECT_TRUE(fileHolds(s, L"typed.txt", "percent\r\n")) << command;
}

TEST(Drop, AFolderDroppedWhileAProgramHoldsThePromptsConsoleIsRefused) {
    SessionOptions options;
    options.beforeStart = copyConsoleReader;
    Session s(options);
    runningPrompt(s);
    ASSERT_TRUE(CreateDirectoryW(s.pathOf(L"sub").c_str(), nullptr));
    ASSERT_TRUE(holdConsole(s));
    const std::string shown = s.text(ids::txtCD);

    ASSERT_TRUE(startDrop(s, ids::lstCommand, narrow(s.pathOf(L"sub"))));
    const HWND box = waitForBox(s, "Tavimero");
    ASSERT_NE(box, nullptr) << "no message\n" << s.report();
    EXPECT_NE(messageBoxText(box).find("別のプログラム"), std::string::npos) << messageBoxText(box);
    ASSERT_TRUE(pressAndWaitForClose(box, IDOK));
    // A line typed for the reader would be heard by now: it reads each line as it comes.
    ASSERT_TRUE(execute(s, "after"));
    EXPECT_TRUE(fileHolds(s, L"heard.txt", "started\nafter\n"));
    EXPECT_EQ(s.text(ids::txtCD), shown);
    EXPECT_TRUE(s.listItems(ids::lstCommand).empty());

    DWORD reader = 0;
    for (const ProcessEntry& p : processTable())
        if (sameTextIgnoringCase(p.exe, L"ConsoleReader.exe")) reader = p.pid;
    if (reader) {
        Handle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, reader));
        if (process) endProcessTree(reader, process.get());
    }
}

}  // namespace
}  // namespace e2e
