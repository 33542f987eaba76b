#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestSupport.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32ConsoleInput.h"
#include "platform/win32/Win32PromptLauncher.h"
#include "prompt/PromptKeys.h"

// A real cmd.exe started in a fresh temporary folder, ended after the test.
class PromptFixture : public ::testing::Test {
protected:
    void SetUp() override { prompt = launcher.start(SystemPrompt::Cmd, ToUtf8(folder.path())); }

    void TearDown() override { End(); }

    void End() {
        if (prompt && prompt->isRunning()) prompt->terminate();
        if (prompt) WaitUntil([&] { return !prompt->isRunning(); });
    }

    void Restart(const std::wstring& where) {
        End();
        prompt = launcher.start(SystemPrompt::Cmd, ToUtf8(where));
    }

    // Types the text as the program does: each line break is the Enter key.
    void Type(const std::string& utf8) { console.type(prompt->id(), ToPromptKeys(utf8)); }

    // The file's bytes once the prompt has written them (whole lines, so the last ends in CR LF).
    std::string WaitForFile(const std::wstring& name) {
        std::string bytes;
        WaitUntil([&] {
            bytes = ReadFileBytes(folder.file(name));
            return bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0;
        });
        return bytes;
    }

    TempFolder folder;
    Win32PromptLauncher launcher;
    Win32ConsoleInput console;
    std::unique_ptr<PromptProcess> prompt;
};
