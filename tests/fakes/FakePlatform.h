#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "tests/fakes/EventLog.h"
#include "tests/fakes/FakeCodePage.h"
#include "tests/fakes/FakeForm.h"
#include "text/Path.h"
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
    // What the process holds; an ended process, like a real one, gives nothing.
    std::optional<PromptDirectories> readDirectories() const override {
        return running ? directories : std::nullopt;
    }
    bool running = true;
    bool failTerminate = false;
    std::optional<PromptDirectories> directories;

private:
    std::uint32_t id_;
    EventLog& log_;
};

class FakePromptLauncher : public PromptLauncher {
public:
    explicit FakePromptLauncher(EventLog& log) : log_(log) {}
    // Logs the prompt by its file name: "start cmd.exe in C:\Tools\".
    std::unique_ptr<PromptProcess> start(SystemPrompt prompt, const std::string& folder) override {
        const std::string program = prompt == SystemPrompt::Cmd ? "cmd.exe" : "command.com";
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
    // Each attachment is counted; its steps are logged one by one, as single steps would be.
    std::unique_ptr<AttachedConsole> attach(std::uint32_t processId) override {
        ++attachments;
        if (failAttach) throw PlatformError("cannot attach the console");
        return std::make_unique<Attached>(*this, processId);
    }
    std::unique_ptr<AttachedConsole> attachNow(std::uint32_t processId) override {
        ++attachmentsNow;
        return attach(processId);
    }
    bool failAttach = false;
    int attachmentsNow = 0;  // of the attachments, those that would not wait for a new console
    bool failType = false;
    bool failConsoleProcesses = false;
    int attachments = 0;
    std::string typed;  // everything typed, in order
    // The processes on each prompt's console; a prompt not listed is alone on its console.
    std::map<std::uint32_t, std::vector<std::uint32_t>> attached;
    // Where the window that shows each prompt's console stands; a prompt not listed has its
    // window shown beside the program's, as a console window started without activation is.
    std::map<std::uint32_t, PromptWindowState> windowStates;

private:
    class Attached : public AttachedConsole {
    public:
        Attached(FakeConsoleInput& owner, std::uint32_t id) : owner_(owner), id_(id) {}
        std::vector<std::uint32_t> processes() override {
            owner_.log_.add("console processes " + std::to_string(id_));
            if (owner_.failConsoleProcesses) throw PlatformError("cannot list the processes");
            auto found = owner_.attached.find(id_);
            return found == owner_.attached.end() ? std::vector<std::uint32_t>{id_} : found->second;
        }
        void bringForward() override { owner_.log_.add("activate console " + std::to_string(id_)); }
        PromptWindowState windowState() override {
            auto found = owner_.windowStates.find(id_);
            return found == owner_.windowStates.end() ? PromptWindowState::Beside : found->second;
        }
        void type(const std::vector<PromptKey>& keys) override {
            owner_.log_.add("type " + std::to_string(id_) + ": " + DescribeKeys(keys));
            if (owner_.failType) throw PlatformError("console input failed");
            owner_.typed += DescribeKeys(keys);
        }

    private:
        FakeConsoleInput& owner_;
        std::uint32_t id_;
    };

    EventLog& log_;
};

class FakeDesktop : public Desktop {
public:
    explicit FakeDesktop(EventLog& log) : log_(log) {}
    void activateProcess(std::uint32_t processId) override {
        log_.add("activate process " + std::to_string(processId));
        if (failActivateProcess) throw PlatformError("no window");
    }
    void sendKeys(const std::string& keys) override { log_.add("send keys " + keys); }
    bool failActivateProcess = false;

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

// Folders and files in memory. Paths compare without regard to letter case, and a forward slash
// stands for a backslash, as on Windows. What the real system would do on its own is done here
// too (a replacing move over a link replaces the link; a read-only file is never replaced), so a
// caller that forgets a step shows it. Drive queries are logged: a query the program must not
// make (a removable drive's label at open) shows in the log.
class FakeFileSystem : public FileSystem {
public:
    bool directoryExists(const std::string& path) override {
        return directories.count(Key(path)) > 0;
    }
    bool fileExists(const std::string& path) override {
        const std::string key = Key(Resolve(path));
        return contents.count(key) > 0 && !hiddenFiles.count(key);
    }
    std::vector<std::string> drives() override { return driveLetters; }
    DriveKind driveKind(const std::string& drive) override {
        log.push_back("drive kind " + drive);
        auto found = kinds.find(text::UCase(drive));
        return found == kinds.end() ? DriveKind::Fixed : found->second;
    }
    std::optional<std::string> connectionName(const std::string& drive) override {
        log.push_back("connection " + drive);
        // Only a network drive has a connection.
        auto kind = kinds.find(text::UCase(drive));
        auto found = connections.find(text::UCase(drive));
        if (kind == kinds.end() || kind->second != DriveKind::Remote ||
            found == connections.end()) {
            return std::nullopt;
        }
        return found->second;
    }
    std::string volumeLabel(const std::string& drive) override {
        log.push_back("volume label " + drive);
        if (notReady.count(text::UCase(drive))) throw PlatformError("The device is not ready.");
        auto found = labels.find(text::UCase(drive));
        return found == labels.end() ? std::string() : found->second;
    }
    std::vector<FolderEntry> listFolder(const std::string& folder) override {
        const std::string bare = text::EndsWith(folder, "\\") ? folder.substr(0, folder.size() - 1) : folder;
        if (!directoryExists(bare)) throw PlatformError("The system cannot find the path specified.");
        std::string prefix = Key(folder);
        if (!text::EndsWith(prefix, "\\")) prefix += "\\";
        std::vector<FolderEntry> entries;
        for (const auto& [upper, original] : names) {
            if (!text::StartsWith(upper, prefix)) continue;
            const std::string rest = original.substr(prefix.size());
            if (rest.empty() || rest.find('\\') != std::string::npos) continue;
            entries.push_back({rest, directories.count(upper) > 0, hiddenFiles.count(upper) > 0, false});
        }
        return entries;
    }
    std::string readFile(const std::string& path, std::uint64_t maxBytes) override {
        if (failRead) throw PlatformError("Access is denied.");
        auto found = contents.find(Key(Resolve(path)));
        if (found == contents.end()) throw PlatformError("The system cannot find the file specified.");
        if (found->second.size() > maxBytes) throw FileTooLarge(maxBytes);
        return found->second;
    }
    std::optional<FileStamp> fileStamp(const std::string& path) override {
        auto found = stamps.find(Key(Resolve(path)));
        if (found == stamps.end() || !contents.count(found->first)) return std::nullopt;
        return found->second;
    }
    // As the system makes a path absolute: against the current directory, backslashes, dots
    // worked out (a root keeps its backslash).
    std::string fullPath(const std::string& path) override {
        std::string full = path;
        for (char& c : full) {
            if (c == '/') c = '\\';
        }
        if (!IsAbsolute(full)) full = path::Join(current, full);
        const std::string collapsed = path::CollapseDots(full);
        return path::IsBareDrive(collapsed) ? collapsed + "\\" : collapsed;
    }
    std::string finalPath(const std::string& path) override { return Resolve(path); }
    std::unique_ptr<ReplacementFile> createReplacement(const std::string& target) override {
        const auto folder = path::FolderOf(target);
        const std::string where = folder ? path::WithTrailingBackslash(*folder) : std::string();
        log.push_back("create temporary in " + where);
        if (failAt == Step::CreateTemporary || readOnlyFiles.count(Key(target)) ||
            !directoryExists(path::WithoutTrailingBackslash(where))) {
            throw PlatformError(readOnlyFiles.count(Key(target)) ? "Access is denied."
                                                                : "The directory name is invalid.");
        }
        // Created new: a name that is taken is never opened.
        std::string temporary;
        do temporary = where + "tmp" + std::to_string(++temporaries) + ".tmp";
        while (contents.count(Key(temporary)));
        addFile(temporary, "");
        return std::make_unique<Replacement>(*this, temporary, target);
    }
    std::string currentDirectory() override { return current; }
    void setCurrentDirectory(const std::string& path) override {
        if (!directoryExists(path) && !directoryExists(text::EndsWith(path, "\\") ? path.substr(0, path.size() - 1) : path)) {
            throw PlatformError("The system cannot find the path specified.");
        }
        current = path;
    }

    void addDirectory(const std::string& path) {
        directories.insert(Key(path));
        names[Key(path)] = path;
    }
    // Writes the file in place: a file that is there keeps its id and gets a new write time.
    void addFile(const std::string& path, const std::string& bytes = "") {
        const std::string key = Key(path);
        FileStamp& stamp = stamps[key];
        if (!contents.count(key)) {
            stamp.volume = static_cast<unsigned char>(text::UCase(path.substr(0, 1))[0]);
            stamp.idLow = ++fileIds;
        }
        stamp.size = bytes.size();
        stamp.lastWrite = ++clock;
        contents[key] = bytes;
        names[key] = path;
    }
    // A symbolic link at link that leads to the file target.
    void addLink(const std::string& link, const std::string& target) {
        links[Key(link)] = target;
        names[Key(link)] = link;
    }
    std::string bytesOf(const std::string& path) const { return contents.at(Key(Resolve(path))); }
    bool has(const std::string& path) const { return contents.count(Key(path)) > 0; }
    bool isLink(const std::string& path) const { return links.count(Key(path)) > 0; }
    bool isHidden(const std::string& path) const { return hiddenFiles.count(Key(path)) > 0; }
    // Upper case with backslashes: the form the sets and maps below are keyed by.
    static std::string Key(std::string path) {
        for (char& c : path) {
            if (c == '/') c = '\\';
        }
        return text::UCase(path);
    }

    enum class Step { None, CreateTemporary, Write, Replace };
    Step failAt = Step::None;
    bool failRead = false;
    std::vector<std::string> driveLetters{"C", "D"};
    std::map<std::string, DriveKind> kinds;          // drive letter to its kind; Fixed if absent
    std::map<std::string, std::string> connections;  // remote drive letter to its share
    std::set<std::string> notReady;                  // drive letters, upper case
    std::map<std::string, std::string> labels;       // drive letter to volume label
    std::set<std::string> directories;
    std::set<std::string> hiddenFiles;    // keys
    std::set<std::string> readOnlyFiles;  // keys
    std::map<std::string, std::string> contents;
    std::vector<std::string> log;
    std::string current = "C:\\";
    // Gone when the file is: a file the test removes or renames by hand.
    void removeByHand(const std::string& path) { forget(path); }

private:
    // The new file of a save, written and renamed over its target as one file.
    class Replacement : public ReplacementFile {
    public:
        Replacement(FakeFileSystem& files, std::string path, std::string target)
            : files_(files), path_(std::move(path)), target_(std::move(target)) {}
        ~Replacement() override {
            if (replaced_) return;
            files_.log.push_back("remove " + path_);
            files_.forget(path_);
        }
        void write(const std::string& bytes) override {
            files_.log.push_back("write " + path_);
            if (files_.failAt == Step::Write) {
                throw PlatformError("There is not enough space on the disk.");
            }
            files_.addFile(path_, bytes);
        }
        void replaceTarget() override {
            files_.log.push_back("replace " + target_);
            if (files_.failAt == Step::Replace || files_.readOnlyFiles.count(Key(target_))) {
                throw PlatformError("Access is denied.");
            }
            const std::string bytes = files_.contents.at(Key(path_));
            const FileStamp stamp = files_.stamps.at(Key(path_));
            files_.forget(path_);
            // A link given as the target is replaced itself, as a rename over it does.
            files_.links.erase(Key(target_));
            files_.addFile(target_, bytes);
            files_.stamps[Key(target_)] = stamp;  // the renamed file is the new one
            replaced_ = true;
        }

    private:
        FakeFileSystem& files_;
        std::string path_;
        std::string target_;
        bool replaced_ = false;
    };

    static bool IsAbsolute(const std::string& path) {
        return (path.size() >= 3 && path::HasDriveLetter(path) && path[2] == '\\') ||
               text::StartsWith(path, "\\\\");
    }
    // A relative path is taken from the current directory, as the system takes it.
    std::string Resolve(const std::string& path) const {
        const std::string absolute = IsAbsolute(Key(path)) ? path : path::Join(current, path);
        auto found = links.find(Key(absolute));
        return found == links.end() ? absolute : found->second;
    }
    void forget(const std::string& path) {
        contents.erase(Key(path));
        names.erase(Key(path));
        stamps.erase(Key(path));
    }
    std::map<std::string, FileStamp> stamps;
    std::uint64_t fileIds = 0;
    std::uint64_t clock = 0;
    std::map<std::string, std::string> names;  // key to the path as given
    std::map<std::string, std::string> links;  // key of a link to the path it leads to
    int temporaries = 0;
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
        // Unanswered, a box gives what closing it gives: OK, No where it has no Cancel, else Cancel.
        if (answers.empty()) {
            if (buttons == MessageButtons::Ok) return MessageResult::Ok;
            return buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Cancel;
        }
        const MessageResult answer = answers.front();
        answers.pop_front();
        const bool offered = buttons == MessageButtons::Ok ? answer == MessageResult::Ok
                             : buttons == MessageButtons::YesNo
                                 ? answer == MessageResult::Yes || answer == MessageResult::No
                                 : answer != MessageResult::Ok;
        if (!offered) throw std::logic_error("the box offers no such button: " + text);
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
    bool promptDelayedExpansion() override { return delayedExpansion; }

    unsigned long platform = 2;
    std::string folder = "C:\\Tools";
    std::string arguments;
    bool otherInstanceRunning = false;
    bool delayedExpansion = false;
};

class FakeShell : public Shell {
public:
    explicit FakeShell(EventLog& log) : log_(log) {}
    void open(const std::string& target) override { log_.add("shell open " + target); }

private:
    EventLog& log_;
};

class FakeFileDialogs : public FileDialogs {
public:
    explicit FakeFileDialogs(EventLog& log) : log_(log) {}
    std::optional<std::string> showOpen(const FileDialogOptions& options) override {
        return answer("open", options);
    }
    std::optional<std::string> showSave(const FileDialogOptions& options) override {
        return answer("save", options);
    }
    std::vector<FileDialogOptions> shown;
    // The names the user picks, in order; nothing means Cancel.
    std::deque<std::optional<std::string>> answers;
    // Runs while a box is shown: what a box does to the program on its way (the current
    // directory it changes as the user moves through folders).
    std::function<void()> whileShown;

private:
    std::optional<std::string> answer(const std::string& kind, const FileDialogOptions& options) {
        log_.add(kind + " dialog " + options.title);
        shown.push_back(options);
        if (whileShown) whileShown();
        if (answers.empty()) return std::nullopt;
        auto chosen = answers.front();
        answers.pop_front();
        return chosen;
    }
    EventLog& log_;
};

// An INI store in memory that keeps the order in which keys were first written.
class FakeProfile : public Profile {
public:
    std::string getString(const std::string& section, const std::string& key, const std::string& defaultValue,
                          const std::string& path) override {
        for (const Entry& entry : entries) {
            if (entry.path == path && entry.section == section && entry.key == key) return entry.value.substr(0, 1023);
        }
        return defaultValue;
    }
    void setString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& path) override {
        ++writes;
        if (log) log->add("settings " + key);
        if (failWrites) throw PlatformError("アクセスが拒否されました。");
        for (Entry& entry : entries) {
            if (entry.path == path && entry.section == section && entry.key == key) {
                entry.value = value;
                return;
            }
        }
        entries.push_back({path, section, key, value});
    }
    struct Entry {
        std::string path, section, key, value;
    };
    std::vector<Entry> entries;
    int writes = 0;  // attempts, the failed ones included
    bool failWrites = false;
    EventLog* log = nullptr;  // where writes are logged, for a test that asks for it
};

// A deterministic order: ASCII letters without regard to case, then the bytes as they are.
// It counts its calls, so that tests see which work a step did.
class FakeCollation : public Collation {
public:
    std::string sortKey(std::string_view utf8) override {
        ++keys;
        return text::LCase(utf8);
    }
    int compare(std::string_view a, std::string_view b) override {
        ++comparisons;
        return text::LCase(a).compare(text::LCase(b));
    }
    int keys = 0;
    int comparisons = 0;
};

// All fakes together, with the Platform bundle the windows take.
struct FakePlatform {
    EventLog log;
    FakeFormFactory forms{&log};
    FakePromptLauncher launcher{log};
    FakeConsoleInput console{log};
    FakeDesktop desktop{log};
    FakeClipboard clipboard{log};
    FakeFileSystem files;
    FakeMessageBoxes messages{log};
    FakeSystemInfo system;
    FakeShell shell{log};
    FakeFileDialogs dialogs{log};
    FakeProfile profile;
    FakeCodePage codePage;
    FakeCollation collation;
    Platform platform{forms,  launcher, console, desktop, clipboard, files,    messages,
                      system, shell,    dialogs, profile, codePage,  collation};

    FakePlatform() { files.addDirectory(system.folder); }
};
