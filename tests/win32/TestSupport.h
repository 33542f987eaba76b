#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

// Polls until the condition holds or the time is up, handling this thread's messages in
// between (as the program's loop does). True when the condition held.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(20));

// Handles every message already queued for this thread, through the program's loop step.
void PumpMessages();

// A fresh folder under the temporary folder, removed with its contents at the end.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& prefix = L"tvm");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// The bytes of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
bool IsDirectory(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
