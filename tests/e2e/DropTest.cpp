// Files dropped from the shell on the main window: through the real OLE drop target of a
// control in the running program, with a shell file list, as a drag from the shell ends.

#include <gtest/gtest.h>

#include <optional>
#include <string>

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

// Drops the paths (UTF-8, one a line) on the main window's control id through the probe
// library; what the probe reports, or nothing when it reported nothing in time.
std::optional<std::string> dropOn(Session& s, int id, const std::string& paths) {
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
    std::optional<std::string> report;
    pollUntil([&] { return (report = s.readFile(name + L".txt")).has_value(); }, kEffectTimeout);
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

}  // namespace
}  // namespace e2e
