#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "commandlist/CommandList.h"
#include "commandlist/ListFile.h"
#include "platform/CodePage.h"
#include "platform/FileDialogs.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/SystemInfo.h"

// What the list-file commands reach the system through.
struct ListFileServices {
    FileDialogs& dialogs;
    MessageBoxes& messages;
    FileSystem& files;
    CodePage& codePage;
    SystemInfo& system;
};

// The largest list file the program reads: beyond it a list box and the text conversions would
// crawl or outgrow their 32-bit counts, so a larger file is refused with a message instead.
inline constexpr std::uint64_t MaxListFileBytes = std::uint64_t{64} << 20;

// The File menu's commands on the command list: new, open, append, save, save as, the save
// question, and the list opened at start-up. Knows which file the list was read from or saved to.
class ListFiles {
public:
    enum class Confirm { Proceed, Abort };

    ListFiles(CommandList& list, const ListFileServices& services);

    void New();
    void OpenList();
    void AppendList();
    bool SaveList(const std::string& path);
    bool SaveListAs();
    // Offers to save a modified, non-empty list. Abort when the user cancelled, or asked to
    // save and nothing was saved.
    Confirm ConfirmSaveList();
    // Opens the list file named in the settings at start-up, reporting a wrong name.
    void OpenListAtStartup(std::string path);
    // Replaces the list with the file's lines; false (and nothing changed: the list, its file,
    // its form and its modified flag) when it cannot be read or shown, which is reported.
    bool ReadListFile(const std::string& path);
    // Adds the file's lines that the list does not hold yet; the same rules.
    bool AppendListFile(const std::string& path);
    // The folder the list dialogs start in.
    std::string ListDialogFolder();

    const std::string& ListFilePath() const { return listFilePath_; }

private:
    enum class ReadOutcome { Read, Unreadable, Reported };
    // Reads the whole file before the list is touched, then loads or appends its entries. A file
    // too large, or one whose entries cannot be shown, is reported; an unreadable one is
    // reported too when reportUnreadable.
    ReadOutcome ReadIntoList(const std::string& path, bool append, bool reportUnreadable);
    FileDialogOptions ListDialog(const std::string& title);
    // Whether target, whose stamp is now current, is the list's file: the same path, or the
    // same file under another name.
    bool IsListsFile(const std::string& target, const std::optional<FileStamp>& current) const;
    // Saving over the list's file first asks when another program changed it since it was read
    // or saved, or when it could not be read without loss; false when the user declined.
    bool MayOverwrite(const std::string& target, const std::optional<FileStamp>& current);
    void Forget();

    CommandList& list_;
    ListFileServices services_;
    std::string listFilePath_;
    // The form the list's file was read in, kept when saving; nothing for a list never read.
    std::optional<listfile::Encoding> encoding_;
    listfile::LineEnd lineEnd_ = listfile::LineEnd::CrLf;
    // The file at listFilePath_ as it was when read or saved last: which file and which state.
    std::optional<FileStamp> stamp_;
    // The file at listFilePath_ holds bytes the list could not show exactly.
    bool fileUnreadable_ = false;
};
