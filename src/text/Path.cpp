#include "text/Path.h"

#include <vector>

#include "text/Text.h"

namespace path {

namespace {
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The part of p that going up never leaves: "C:" for a drive path, "\\server\share" for a network
// path, "\" for a path from the current drive's root, empty for a relative path.
std::string_view RootOf(std::string_view p) {
    if (HasDriveLetter(p)) return p.substr(0, 2);
    if (p.substr(0, 2) == "\\\\") {
        const auto server = p.find('\\', 2);
        if (server == std::string_view::npos) return p;
        const auto share = p.find('\\', server + 1);
        return share == std::string_view::npos ? p : p.substr(0, share);
    }
    if (p.substr(0, 1) == "\\") return p.substr(0, 1);
    return {};
}
}  // namespace

bool HasDriveLetter(std::string_view p) { return p.size() >= 2 && IsLetter(p[0]) && p[1] == ':'; }

bool IsBareDrive(std::string_view p) { return p.size() == 2 && HasDriveLetter(p); }

std::string DriveOf(std::string_view p) { return std::string(p.substr(0, p.find(':'))); }

std::string WithTrailingBackslash(std::string_view p) {
    return text::EndsWith(p, "\\") ? std::string(p) : std::string(p) + "\\";
}

std::string WithoutTrailingBackslash(std::string_view p) {
    return std::string(text::EndsWith(p, "\\") ? p.substr(0, p.size() - 1) : p);
}

std::string Join(std::string_view base, std::string_view name) {
    std::string joined(base);
    while (text::EndsWith(joined, "\\")) joined.pop_back();
    const auto first = name.find_first_not_of('\\');
    if (first != std::string_view::npos) joined += "\\" + std::string(name.substr(first));
    while (text::EndsWith(joined, "\\")) joined.pop_back();
    return joined;
}

std::optional<std::string> FolderOf(std::string_view p) {
    const auto last = p.find_last_of("\\/");
    if (last == std::string_view::npos) return std::nullopt;
    return std::string(p.substr(0, last));
}

std::string WithoutLongPrefix(std::string_view p) {
    constexpr std::string_view prefix = "\\\\?\\";
    if (p.substr(0, prefix.size()) != prefix) return std::string(p);
    const std::string_view rest = p.substr(prefix.size());
    if (HasDriveLetter(rest)) return std::string(rest);
    if (text::LCase(rest.substr(0, 4)) == "unc\\") return "\\\\" + std::string(rest.substr(4));
    return std::string(p);
}

std::string CollapseDots(std::string_view p) {
    const std::string_view root = RootOf(p);
    std::vector<std::string> kept;
    for (const std::string& component : text::Split(p.substr(root.size()), "\\")) {
        if (component.empty() || component == ".") continue;
        if (component == "..") {
            if (!kept.empty()) kept.pop_back();
            continue;
        }
        kept.push_back(component);
    }
    const std::string rest = text::Join(kept, "\\");
    if (root.empty()) return rest;
    if (root == "\\") return "\\" + rest;
    return rest.empty() ? std::string(root) : std::string(root) + "\\" + rest;
}

namespace {
// The characters for which the prompt's own file-name completion quotes a name.
constexpr std::string_view SplittingCharacters = " &()[]{}^=;!'+,`";

// A stretch of a path without percent signs, in double quotes; with escape, a caret before
// each ! and ^.
std::string QuotedStretch(std::string_view stretch, bool escape) {
    std::string quoted = "\"";
    for (const char c : stretch) {
        if (escape && (c == '!' || c == '^')) quoted += '^';
        quoted += c;
    }
    return quoted + "\"";
}
}  // namespace

std::string InQuotesForPrompt(std::string_view p, const PromptSyntax& syntax) {
    // The prompt replaces %NAME% with a variable's value before it looks at quotes or carets,
    // and leaves %NAME% as it is only where no variable has that name. So each % stands
    // outside the quotes between two quoted stretches: a double quote follows it, and one
    // starts the text, so every name the prompt could read between two percent signs holds a
    // double quote, which no ordinary variable's name holds. The backslashes before a % go
    // outside too: a program's own reading of its command line takes \" as a quote character.
    // With delayed expansion the prompt takes a word holding a ! apart once more, quotes or
    // not: it drops a caret before any character and reads !NAME! as a variable, so then a
    // caret goes before each ! and ^.
    const bool escape = syntax.delayedExpansion && p.find('!') != std::string_view::npos;
    std::string quoted;
    std::size_t start = 0;
    while (syntax.percentVariables) {
        const std::size_t percent = p.find('%', start);
        if (percent == std::string_view::npos) break;
        std::size_t end = percent;
        while (end > start && p[end - 1] == '\\') --end;
        quoted += QuotedStretch(p.substr(start, end - start), escape);
        quoted += p.substr(end, percent + 1 - end);
        start = percent + 1;
    }
    return quoted + QuotedStretch(p.substr(start), escape);
}

std::string QuotedForPrompt(std::string_view p, const PromptSyntax& syntax) {
    if (p.find_first_of(SplittingCharacters) == std::string_view::npos &&
        (!syntax.percentVariables || p.find('%') == std::string_view::npos))
        return std::string(p);
    return InQuotesForPrompt(p, syntax);
}

}  // namespace path
