#pragma once
#include <optional>
#include <string>
#include <string_view>

// Windows path rules as text: drive letters, joining, the folder of a file, "." and "..", and
// quoting a path for the prompt. Nothing here touches the file system.
namespace path {

// The path starts with a drive letter and a colon ("C:", "c:\work").
bool HasDriveLetter(std::string_view p);
// The path is a drive letter and its colon and nothing else ("C:"): that drive's root.
bool IsBareDrive(std::string_view p);
// The text before the first colon ("C" for "C:\Work"); the whole text when it has none.
std::string DriveOf(std::string_view p);

// A folder path ending in exactly the backslash it had or was given (C:\Tools -> C:\Tools\).
std::string WithTrailingBackslash(std::string_view p);
// The path without one trailing backslash, if it has one (C:\ -> C:).
std::string WithoutTrailingBackslash(std::string_view p);

// base and name joined with exactly one backslash between them; the result never ends with a
// backslash, so a drive root comes back bare ("C:" joined with "" is "C:").
std::string Join(std::string_view base, std::string_view name);

// The folder that holds the file or folder at p: everything before its last separator, a
// backslash or a forward slash, as Windows takes both (C:\a.bat -> C:, C:/Lists/a.txt ->
// C:/Lists, a drive root bare). Nothing for a path without a separator.
std::optional<std::string> FolderOf(std::string_view p);

// A path the system gave in its long form, without the long-form prefix: \\?\C:\a -> C:\a,
// \\?\UNC\server\share\a -> \\server\share\a. A path without a drive or share (a volume's
// own name) and any other path come back as they are.
std::string WithoutLongPrefix(std::string_view p);

// "." and ".." components worked out as text: C:\A\B\..\.\C -> C:\A\C. Going up never leaves the
// root (a drive, or \\server\share); empty components and a trailing backslash go, so a drive
// root comes back bare ("C:").
std::string CollapseDots(std::string_view p);

// How the prompt reads a line typed into it: cmd.exe replaces %NAME% by a variable's value,
// and !NAME! too where its delayed expansion is on; command.com replaces neither at its prompt.
struct PromptSyntax {
    bool percentVariables = true;
    bool delayedExpansion = false;
};

// The path in double quotes, written so that the prompt reads it as that path and nothing
// else: a % never starts or ends a variable name the prompt would replace, and with delayed
// expansion a ! and a ^ keep their places. A path without % (and, with delayed expansion,
// without !) is the path between two double quotes.
std::string InQuotesForPrompt(std::string_view p, const PromptSyntax& syntax);

// The path as the prompt reads it as one name: as it is, or as InQuotesForPrompt gives it when
// it holds a %, a space or one of the characters for which the prompt's own file-name
// completion quotes (&()[]{}^=;!'+, and `), which the prompt would otherwise read as a command
// separator, an escape or a delimiter.
std::string QuotedForPrompt(std::string_view p, const PromptSyntax& syntax);

}  // namespace path
