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
    // Replaces the list with the file's lines; false (and nothing changed) when it cannot be read.
    // A file over MaxListFileBytes is reported to the user.
    bool ReadListFile(const std::string& path);
    // Adds the file's lines that the list does not hold yet; the same rules.
    bool AppendListFile(const std::string& path);
    // The folder the list dialogs start in.
    std::string ListDialogFolder();

    const std::string& ListFilePath() const { return listFilePath_; }

private:
    enum class ReadOutcome { Read, Unreadable, TooLarge };
    // Reads the whole file before the list is touched, then loads or appends its entries.
    ReadOutcome ReadIntoList(const std::string& path, bool append);
    FileDialogOptions ListDialog(const std::string& title);
    // Saving over the file the list was read from, when that file could not be read without loss,
    // first asks; false when the user declined.
    bool MayOverwriteUnreadableFile(const std::string& path);

    CommandList& list_;
    ListFileServices services_;
    std::string listFilePath_;
    // The form the list's file was read in, kept when saving; nothing for a list never read.
    std::optional<listfile::Encoding> encoding_;
    // The file at listFilePath_ holds bytes the list could not show exactly.
    bool fileUnreadable_ = false;
};
