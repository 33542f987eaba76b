#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "tests/fakes/EventLog.h"
#include "tests/fakes/FakeForm.h"
#include "text/Text.h"

// Recording fakes of every platform interface. Each logs its calls to one shared EventLog so
// tests can check the order of steps across interfaces.

class FakePromptProcess : public PromptProcess {
public:
    FakePromptProcess(std::uint32_t id, EventLog& log) : id_(id), log_(log) {}
    std::uint32_t id() const override { return id_; }
    bool isRunning() const override { return running; }
    void terminate() override {
        log_.add("terminate " + std::to_string(id_));
        if (failTerminate) throw PlatformError("access denied");
        running = false;
    }
    bool running = true;
    bool failTerminate = false;

private:
    std::uint32_t id_;
    EventLog& log_;
};

class FakePromptLauncher : public PromptLauncher {
public:
    explicit FakePromptLauncher(EventLog& log) : log_(log) {}
    std::unique_ptr<PromptProcess> start(const std::string& program, const std::string& folder) override {
        log_.add("start " + program + " in " + folder);
        if (failFolders.count(folder) || failAll) throw PlatformError("cannot start " + program);
        auto process = std::make_unique<FakePromptProcess>(nextId, log_);
        nextId += 4;
        started.push_back(process.get());
        return process;
    }
    FakePromptProcess& last() { return *started.back(); }

    std::uint32_t nextId = 100;
    std::set<std::string> failFolders;
    bool failAll = false;
    // Processes handed out, oldest first. The fake owns none of them; the caller does, and the
    // program keeps each until the next start, so only the last one is safe to touch.
    std::vector<FakePromptProcess*> started;

private:
    EventLog& log_;
};

// Renders keys as text, Enter as "<Enter>" and Escape as "<Esc>".
inline std::string DescribeKeys(const std::vector<PromptKey>& keys) {
    std::u32string out;
    for (const PromptKey& key : keys) {
        if (key.enter) out += U"<Enter>";
        else if (key.escape) out += U"<Esc>";
        else out += key.character;
    }
    return text::EncodeUtf8(out);
}

class FakeConsoleInput : public ConsoleInput {
public:
    explicit FakeConsoleInput(EventLog& log) : log_(log) {}
    void activateConsoleWindow(std::uint32_t processId) override {
        log_.add("activate console " + std::to_string(processId));
    }
    void type(std::uint32_t processId, const std::vector<PromptKey>& keys) override {
        log_.add("type " + std::to_string(processId) + ": " + DescribeKeys(keys));
        if (failType) throw PlatformError("console input failed");
        typed += DescribeKeys(keys);
    }
    bool failType = false;
    std::string typed;  // everything typed, in order

private:
    EventLog& log_;
};

class FakeDesktop : public Desktop {
public:
    explicit FakeDesktop(EventLog& log) : log_(log) {}
    void activateProcess(std::uint32_t processId) override {
        log_.add("activate process " + std::to_string(processId));
        if (failActivateProcess) throw PlatformError("no window");
    }
    void activateTitle(const std::string& caption) override {
        log_.add("activate title " + caption);
        if (failActivateTitle) throw PlatformError("no window");
    }
    void sendKeys(const std::string& keys) override { log_.add("send keys " + keys); }
    bool failActivateProcess = false;
    bool failActivateTitle = false;

private:
    EventLog& log_;
};

class FakeClipboard : public Clipboard {
public:
    explicit FakeClipboard(EventLog& log) : log_(log) {}
    std::string getText() override {
        log_.add("clipboard get");
        return text;
    }
    void clear() override {
        log_.add("clipboard clear");
        text.clear();
    }
    void setText(const std::string& value) override {
        log_.add("clipboard set " + value);
        text = value;
    }
    std::string text;

private:
    EventLog& log_;
};

class FakeFileSystem : public FileSystem {
public:
    bool directoryExists(const std::string& path) override {
        return directories.count(text::UCase(path)) > 0;
    }
    bool fileExists(const std::string& path) override { return files.count(text::UCase(path)) > 0; }
    std::vector<std::string> drives() override { return driveLetters; }
    std::vector<std::string> driveLetters{"C", "D"};
    // Paths are held upper-cased: the file system ignores letter case.
    void addDirectory(const std::string& path) { directories.insert(text::UCase(path)); }
    void addFile(const std::string& path) { files.insert(text::UCase(path)); }
    std::set<std::string> directories;
    std::set<std::string> files;
};

class FakeMessageBoxes : public MessageBoxes {
public:
    explicit FakeMessageBoxes(EventLog& log) : log_(log) {}
    struct Shown {
        std::string text, title;
        MessageIcon icon;
        MessageButtons buttons;
    };
    MessageResult show(const std::string& text, const std::string& title, MessageIcon icon,
                       MessageButtons buttons) override {
        log_.add("message " + title + ": " + text);
        shown.push_back({text, title, icon, buttons});
        if (answers.empty()) return buttons == MessageButtons::Ok ? MessageResult::Ok : MessageResult::Cancel;
        const MessageResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<Shown> shown;
    std::deque<MessageResult> answers;

private:
    EventLog& log_;
};

class FakeSystemInfo : public SystemInfo {
public:
    unsigned long platformId() override { return platform; }
    std::string programFolder() override { return folder; }
    std::string commandLine() override { return arguments; }
    bool claimSingleInstance() override { return !otherInstanceRunning; }

    unsigned long platform = 2;
    std::string folder = "C:\\Tools";
    std::string arguments;
    bool otherInstanceRunning = false;
};

class FakeShell : public Shell {
public:
    explicit FakeShell(EventLog& log) : log_(log) {}
    void open(const std::string& target) override { log_.add("shell open " + target); }

private:
    EventLog& log_;
};

// All fakes together, with the Platform bundle the windows take.
struct FakePlatform {
    EventLog log;
    FakeFormFactory forms;
    FakePromptLauncher launcher{log};
    FakeConsoleInput console{log};
    FakeDesktop desktop{log};
    FakeClipboard clipboard{log};
    FakeFileSystem files;
    FakeMessageBoxes messages{log};
    FakeSystemInfo system;
    FakeShell shell{log};
    Platform platform{forms, launcher, console, desktop, clipboard, files, messages, system, shell};

    FakePlatform() { files.addDirectory(system.folder); }
};
