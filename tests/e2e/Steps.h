#pragma once

// User actions on the main window as the tests use them. Each returns a failed AssertionResult,
// with the window's and the folder's state, when the program leaves an input button disabled:
// every input path must enable both buttons again.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "Driver.h"
#include "forms/ControlIds.h"

namespace e2e {

inline ::testing::AssertionResult buttonsEnabled(const Session& s) {
    if (s.isEnabled(ids::cmdSend) && s.isEnabled(ids::cmdSendAndDo))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "an input button stayed disabled\n" << s.report();
}

// Puts the text into txtCommand and presses "入力＋実行" (input and execute).
inline ::testing::AssertionResult execute(Session& s, std::string_view text) {
    s.setText(ids::txtCommand, text);
    s.click(ids::cmdSendAndDo);
    return buttonsEnabled(s);
}

// Puts the text into txtCommand and presses "入力" (input only).
inline ::testing::AssertionResult inputOnly(Session& s, std::string_view text) {
    s.setText(ids::txtCommand, text);
    s.click(ids::cmdSend);
    return buttonsEnabled(s);
}

inline ::testing::AssertionResult fileHolds(const Session& s, std::wstring_view name,
                                            std::string_view expected) {
    if (s.waitForFile(name, expected)) return ::testing::AssertionSuccess();
    const auto actual = s.readFile(name);
    return ::testing::AssertionFailure()
           << narrow(name) << " should hold \"" << printable(expected) << "\" but "
           << (actual ? "holds \"" + printable(*actual) + "\"" : std::string("is absent")) << "\n"
           << s.report();
}

inline ::testing::AssertionResult boxHolds(const Session& s, std::string_view expected) {
    if (s.waitForText(ids::txtCommand, expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "txtCommand should hold \"" << printable(expected) << "\"\n"
           << s.report();
}

// The settings file's text in UTF-8, whichever form it has: UTF-16 LE after its mark, as the
// program creates it, or ANSI bytes, as another program may have written it.
inline std::optional<std::string> settingsText(const Session& s) {
    const auto bytes = s.readFile(L"Tavimero.ini");
    if (!bytes) return std::nullopt;
    std::wstring text;
    if (bytes->starts_with("\xFF\xFE")) {
        for (std::size_t i = 2; i + 1 < bytes->size(); i += 2) {
            text.push_back(static_cast<wchar_t>(static_cast<unsigned char>((*bytes)[i]) |
                                                static_cast<unsigned char>((*bytes)[i + 1]) << 8));
        }
    } else if (!bytes->empty()) {
        const int size = static_cast<int>(bytes->size());
        text.resize(static_cast<std::size_t>(size));
        text.resize(static_cast<std::size_t>(
            MultiByteToWideChar(CP_ACP, 0, bytes->data(), size, text.data(), size)));
    }
    return narrow(text);
}

#ifndef TAVIMERO_CONSOLE_READER
#define TAVIMERO_CONSOLE_READER ""
#endif

// Puts the console-reading helper beside the program (call it from SessionOptions::beforeStart).
inline void copyConsoleReader(const std::wstring& folder) {
    CopyFileW(toWindowsPath(TAVIMERO_CONSOLE_READER).c_str(),
              (folder + L"\\ConsoleReader.exe").c_str(), FALSE);
}

// Runs the console-reading helper in the prompt: from then on it holds the prompt's console and
// writes each line it reads to heard.txt, after a first line "started".
inline ::testing::AssertionResult holdConsole(Session& s) {
    const std::string heard = narrow(s.pathOf(L"heard.txt"));
    const auto started =
        execute(s, "\"" + narrow(s.pathOf(L"ConsoleReader.exe")) + "\" \"" + heard + "\"");
    if (!started) return started;
    return fileHolds(s, L"heard.txt", "started\n");
}

// The prompt the program started; fails the test when there is none.
inline DWORD runningPrompt(Session& s) {
    const DWORD prompt = s.waitForPrompt();
    EXPECT_NE(prompt, 0u) << "no cmd.exe started by the program\n" << s.report();
    return prompt;
}

}  // namespace e2e
