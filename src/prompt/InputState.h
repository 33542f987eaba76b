#pragma once
#include <string>

// What the program believes is waiting on the prompt's command line, and which directory
// change an executed line makes.
class InputState {
public:
    // What an executed line hands to the directory tracking.
    struct Tracking {
        enum class Kind { None, CdCommand, DriveChange };
        Kind kind = Kind::None;
        std::string argument;  // the cd line, or the drive text such as "d:"
        bool operator==(const Tracking&) const = default;
    };

    // True for the exit command: the text trimmed of spaces and in lower case is "exit".
    static bool IsExitCommand(const std::string& text);

    const std::string& PendingLine() const { return pendingLine_; }
    bool ExitPending() const { return exitPending_; }

    // An input-only of text is about to be delivered.
    void BeforeInputOnly(const std::string& text);
    // An input-only of text was delivered: it now waits on the command line.
    void AfterInputOnly(const std::string& text);
    // Whether executing text closes the prompt instead of typing it: the exit command, or
    // an empty text while an input-only "exit" waits.
    bool ExecutesExit(const std::string& text) const;
    // An input-and-execute that closed the prompt.
    void AfterExitExecuted() { exitPending_ = false; }
    // An input-and-execute of text is about to be delivered.
    void BeforeExecute() { exitPending_ = false; }
    // An input-and-execute of text was delivered: decides what the directory tracking gets,
    // appending the text to a pending cd line when there is one.
    Tracking TrackingFor(const std::string& text);
    // The end of an input-and-execute that reached the directory tracking.
    void AfterExecute() { pendingLine_.clear(); }
    // A new prompt: nothing waits on its command line.
    void Reset() {
        pendingLine_.clear();
        exitPending_ = false;
    }

private:
    std::string pendingLine_;
    bool exitPending_ = false;
};
