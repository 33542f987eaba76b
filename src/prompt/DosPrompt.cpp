#include "prompt/DosPrompt.h"

#include "platform/PlatformError.h"
#include "prompt/PromptKeys.h"

namespace {
// Alt+Space opens the console window's system menu, E its Edit submenu, P its Paste item.
constexpr const char* PasteKeys = "% ep";
}  // namespace

DosPrompt::DosPrompt(PromptLauncher& launcher, ConsoleInput& console, Desktop& desktop,
                     Clipboard& clipboard)
    : launcher_(launcher), console_(console), desktop_(desktop), clipboard_(clipboard) {}

void DosPrompt::Start(const std::string& folder) {
    auto started = launcher_.start(isNT_ ? SystemPrompt::Cmd : SystemPrompt::CommandCom, folder);
    dosPid_ = static_cast<std::int32_t>(started->id());
    process_ = std::move(started);
}

bool DosPrompt::IsRunning() const { return process_ && process_->isRunning(); }

std::optional<PromptDirectories> DosPrompt::ReadDirectories() const {
    if (!isNT_ || !process_) return std::nullopt;
    return process_->readDirectories();
}

bool DosPrompt::OtherProgramOn(AttachedConsole& console) const {
    try {
        for (const std::uint32_t id : console.processes()) {
            if (id != process_->id()) return true;
        }
    } catch (const PlatformError&) {
        // A process list that cannot be read tells nothing.
    }
    return false;
}

void DosPrompt::Exit(bool waitForConsole) {
    try {
        if (!process_) return;
        if (isNT_) {
            if (!process_->isRunning()) return;
            const auto console = waitForConsole ? console_.attach(process_->id())
                                                : console_.attachNow(process_->id());
            if (OtherProgramOn(*console)) return;
            // Escape first: text typed by an input-only would otherwise run into the word.
            std::vector<PromptKey> keys{PromptKey{.escape = true}};
            const auto exitLine = ToPromptKeys("exit\r");
            keys.insert(keys.end(), exitLine.begin(), exitLine.end());
            console->bringForward();
            console->type(keys);
        } else {
            process_->terminate();
        }
    } catch (const PlatformError&) {
        // Closing the prompt is best effort: it may have ended on its own meanwhile.
    }
}

bool DosPrompt::Deliver(const std::string& text) { return Type(text, false); }

bool DosPrompt::DeliverToPrompt(const std::string& text) { return Type(text, true); }

bool DosPrompt::Type(const std::string& text, bool onlyToThePrompt) {
    if (!process_) throw PlatformError("no prompt has been started");
    if (!isNT_) {
        clipboard_.clear();
        clipboard_.setText(text);
        desktop_.activateProcess(process_->id());
        desktop_.sendKeys(PasteKeys);
        return true;
    }
    const auto console = console_.attach(process_->id());
    const bool promptReads = !OtherProgramOn(*console);
    if (onlyToThePrompt && !promptReads) return false;
    console->bringForward();
    console->type(ToPromptKeys(text));
    return promptReads;
}

PromptWindowState DosPrompt::WindowState() {
    if (!isNT_ || !process_ || !process_->isRunning()) return PromptWindowState::NotShown;
    try {
        return console_.attach(process_->id())->windowState();
    } catch (const PlatformError&) {
        return PromptWindowState::NotShown;
    }
}

std::string DosPrompt::SaveClipboard() { return isNT_ ? std::string() : clipboard_.getText(); }

void DosPrompt::RestoreClipboard(const std::string& saved) {
    if (isNT_) return;
    clipboard_.clear();
    clipboard_.setText(saved);
}
