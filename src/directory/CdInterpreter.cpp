#include "directory/CdInterpreter.h"

#include "text/Path.h"
#include "text/Text.h"

using text::LCase;
using text::Left;
using text::Trim;
using text::UCase;

namespace {

// The prompt reads a quoted stretch as one name; a line it would read as several names, or
// whose quoted stretch holds spaces only, is not followed.
bool PassesQuoteScan(const std::string& argument) {
    int quoteCount = 0;
    bool spaceInQuotes = false;
    bool charSinceQuote = false;
    bool blankQuoteClosed = false;
    for (char c : argument) {
        if (c == '"') {
            if (spaceInQuotes && !charSinceQuote) blankQuoteClosed = true;
            charSinceQuote = false;
            ++quoteCount;
        } else if (c == ' ') {
            if (blankQuoteClosed || quoteCount % 2 == 0) return false;
            spaceInQuotes = true;
        } else {
            if (blankQuoteClosed) return false;
            spaceInQuotes = false;
            charSinceQuote = true;
        }
    }
    return true;
}

std::string WithoutQuotes(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c != '"') out += c;
    }
    return out;
}

}  // namespace

std::string WithCdWordApart(const std::string& line) {
    // The prompt ends the word at a dot, a backslash or a quote as at a space: cd.. is cd ..
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos) return line;
    for (const std::string word : {"chdir", "cd"}) {
        const std::size_t after = start + word.size();
        if (after < line.size() && LCase(line.substr(start, word.size())) == word &&
            (line[after] == '.' || line[after] == '\\' || line[after] == '"')) {
            return line.substr(0, after) + " " + line.substr(after);
        }
    }
    return line;
}

CdOutcome TrackCdCommand(const std::string& originalLine, const CdContext& context) {
    std::string line = WithCdWordApart(originalLine);
    const std::string trimmed = Trim(line);
    if (LCase(Left(trimmed, 6)) == "chdir ") line = "cd " + text::Mid(trimmed, 6);

    // The first three characters are taken as the keyword and its space.
    const std::string argument = Trim(text::Mid(Trim(line), 3));
    if (argument.empty()) return {};
    if (!PassesQuoteScan(argument)) return {};
    if (line.find('/') != std::string::npos) return {};  // switches and forward-slash paths

    const std::string a = WithoutQuotes(argument);
    if (a == ".") return {};
    const std::size_t dots = std::min(a.find_first_not_of('.'), a.size());
    const std::string rest = a.substr(dots);
    // The prompt works out "." and ".." in the path it reaches.
    const auto accept = [&](const std::string& reached) -> CdOutcome {
        const std::string candidate = path::CollapseDots(reached);
        if (!context.DirectoryExists(candidate)) return {};
        return {candidate, std::nullopt};
    };

    if (dots >= 2) {
        const std::size_t up = dots - 1;  // .. is one level, ... two, and so on
        std::vector<std::string> components = text::Split(context.CurrentDir, "\\");
        if (components.size() > up) {
            components.resize(components.size() - up);
            const std::string reached = text::Join(components, "\\");
            // After going up the prompt follows the rest from the folder reached.
            if (rest.empty() || rest == "\\") return accept(path::Join(reached, ""));
            if (rest.front() == '\\') return accept(path::Join(reached, rest));
            return {};  // a name that merely begins with dots
        }
    }

    const std::string name = text::EndsWith(a, "\\") ? Trim(a.substr(0, a.size() - 1)) : rest;
    if (text::StartsWith(a, "\\")) {
        // Root-relative: where the prompt goes, or nowhere.
        return accept(path::Join(context.CurrentDrive + ":", name));
    }
    if (CdOutcome relative = accept(path::Join(context.CurrentDir, name)); relative.NewDirectory) {
        return relative;
    }

    const std::string d = Trim(path::WithoutTrailingBackslash(a));
    const bool onCurrentDrive = UCase(Left(d, 2)) == UCase(context.CurrentDrive) + ":";
    if (!onCurrentDrive) {
        // cd d:\work leaves the prompt on its drive but changes drive d's directory; cd d: only
        // shows that directory.
        const std::string other = path::CollapseDots(d);
        if (path::HasDriveLetter(d) && !path::IsBareDrive(d) && context.DirectoryExists(other)) {
            return {std::nullopt, std::make_pair(d.substr(0, 1), other)};
        }
        return {};
    }
    // cd c: only shows the current drive's directory.
    if (path::IsBareDrive(a)) return {};
    context.RefreshDrives();
    return accept(d);
}
