#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Clipboard.h"
#include "platform/ConsoleInput.h"
#include "platform/Desktop.h"
#include "platform/PromptDirectories.h"
#include "platform/PromptProcess.h"

// The prompt the program started last, and the ways text reaches it. On the NT family the
// prompt is cmd.exe and text is typed through its console input; on the 9x family it is
// command.com and text is pasted through its window's system menu.
class DosPrompt {
public:
    DosPrompt(PromptLauncher& launcher, ConsoleInput& console, Desktop& desktop,
              Clipboard& clipboard);

    void SetIsNT(bool isNT) { isNT_ = isNT; }
    bool IsNT() const { return isNT_; }
    // Process id of the prompt started last; 0 until the first start.
    std::int32_t DosPid() const { return dosPid_; }

    // Starts a new prompt in folder (given with its trailing backslash). The previous
    // prompt, if any, is let go, not ended. Throws PlatformError when it cannot start.
    void Start(const std::string& folder);
    // True while the prompt started last has not ended.
    bool IsRunning() const;
    // The prompt's own directories, read from its process; nothing where they cannot be read.
    std::optional<PromptDirectories> ReadDirectories() const;
    // Closes the prompt: on the NT family its command line is emptied and "exit" and Enter
    // are typed when it is still running and no other program holds its console (that program
    // would receive them); on the 9x family the process is terminated. Never throws. With
    // waitForConsole false, a console that is not there yet is not waited for.
    void Exit(bool waitForConsole = true);

    // The delivery step: puts text onto the prompt's command line; a line break in it acts as
    // the Enter key. On the 9x family the clipboard is left holding the text. Returns false when a
    // program the prompt started (an editor, python) held its console and so got the text; true
    // when the prompt read it or that cannot be told. On the NT family the check, bringing the
    // console window forward and the typing share one attachment to the console. Throws
    // PlatformError.
    bool Deliver(const std::string& text);
    // The delivery step for a line the program itself types for the prompt (a directory
    // change): as Deliver, but when another program holds the prompt's console nothing is typed
    // and the result is false. Throws PlatformError.
    bool DeliverToPrompt(const std::string& text);

    // Where the window that shows the prompt stands (the NT family's prompt; the 9x family's is
    // never looked at). Never throws: a prompt that cannot be attached has no window shown.
    PromptWindowState WindowState();

    // Clipboard keeping around deliveries on the 9x family; no-ops on the NT family.
    std::string SaveClipboard();
    void RestoreClipboard(const std::string& saved);

private:
    // True when the console lists a process other than the prompt. False when that cannot be told.
    bool OtherProgramOn(AttachedConsole& console) const;
    // Deliver and DeliverToPrompt: with onlyToThePrompt, nothing is typed for another program.
    bool Type(const std::string& text, bool onlyToThePrompt);

    PromptLauncher& launcher_;
    ConsoleInput& console_;
    Desktop& desktop_;
    Clipboard& clipboard_;
    bool isNT_ = true;
    std::int32_t dosPid_ = 0;
    std::unique_ptr<PromptProcess> process_;
};
