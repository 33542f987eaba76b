#pragma once
#include "platform/PromptProcess.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32ProcessMemory.h"

class Win32PromptProcess final : public PromptProcess {
public:
    Win32PromptProcess(UniqueHandle process, std::uint32_t id);
    std::uint32_t id() const override { return id_; }
    bool isRunning() const override;
    void terminate() override;
    std::optional<PromptDirectories> readDirectories() const override;

private:
    UniqueHandle process_;
    std::uint32_t id_;
    mutable ProcessDirectoryReader directories_{process_.get()};
};

class Win32PromptLauncher final : public PromptLauncher {
public:
    std::unique_ptr<PromptProcess> start(SystemPrompt prompt, const std::string& folder) override;
};
