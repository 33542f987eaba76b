#include "prompt/InputState.h"

#include "directory/CdInterpreter.h"
#include "text/Text.h"

using text::LCase;
using text::Left;
using text::Right;
using text::Trim;

bool InputState::IsExitCommand(const std::string& text) { return Trim(LCase(text)) == "exit"; }

void InputState::BeforeInputOnly(const std::string& text) {
    if (IsExitCommand(text)) exitPending_ = true;
}

void InputState::AfterInputOnly(const std::string& text) { pendingLine_ += LCase(text); }

bool InputState::ExecutesExit(const std::string& text) const {
    return IsExitCommand(text) || (text.empty() && exitPending_);
}

InputState::Tracking InputState::TrackingFor(const std::string& text) {
    // cd.., cd\ and chdir.. are cd and chdir lines too.
    const std::string pending = WithCdWordApart(Trim(pendingLine_));
    const std::string typed = Trim(text);
    const std::string typedApart = WithCdWordApart(typed);
    if (Left(pending, 3) == "cd " || Left(pending, 5) == "chdir") {
        // The command was assembled on the prompt's line from the pending pieces and this text.
        pendingLine_ += LCase(text);
        return {Tracking::Kind::CdCommand, pendingLine_};
    }
    if (Left(LCase(typedApart), 3) == "cd " || Left(LCase(typedApart), 6) == "chdir ") {
        return {Tracking::Kind::CdCommand, text};
    }
    if (typed.empty() && Right(pending, 1) == ":") return {Tracking::Kind::DriveChange, pending + typed};
    if (Right(typed, 1) == ":") return {Tracking::Kind::DriveChange, pending + typed};
    return {};
}
