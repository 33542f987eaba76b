#include "commandlist/CommandList.h"

#include <set>

#include "commandlist/ListFile.h"
#include "commandlist/SafeSave.h"
#include "platform/PlatformError.h"
#include "text/Text.h"

namespace {
constexpr const char* ListFilter = "リストファイル(*.txt)|*.txt";
constexpr const char* ListExtension = "txt";
constexpr unsigned OpenFlags = 0x804;   // hide the read-only box; the folder must exist
constexpr unsigned SaveFlags = 0x806;   // and ask before overwriting
constexpr const char* ConfirmTitle = "保存の確認";
constexpr const char* ErrorTitle = "エラー";
constexpr const char* CheckSettings = "ツールの環境設定をご確認ください。";
}  // namespace

CommandList::CommandList(ListBox& list, Platform& platform) : list_(list), platform_(platform) {}

std::vector<std::string> CommandList::Entries() const {
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(list_.count()));
    for (int i = 0; i < list_.count(); ++i) entries.push_back(list_.item(i));
    return entries;
}

void CommandList::AddToList(const std::string& strItem) {
    if (list_.find(strItem) >= 0) return;
    list_.addItem(strItem);
    listModified_ = true;
}

void CommandList::CopySelected() {
    const int selected = list_.listIndex();
    if (selected < 0) return;
    platform_.clipboard.clear();
    platform_.clipboard.setText(list_.item(selected));
}

void CommandList::CutSelected() {
    const int selected = list_.listIndex();
    if (selected < 0) return;
    CopySelected();
    list_.removeItem(selected);
    listModified_ = true;
}

void CommandList::DeleteSelected() {
    const int selected = list_.listIndex();
    if (selected < 0) return;
    list_.removeItem(selected);
    listModified_ = true;
}

// ---- Files ----

CommandList::Confirm CommandList::ConfirmSaveList() {
    if (!listModified_ || list_.count() == 0) return Confirm::Proceed;
    const std::string question = listFilePath_.empty()
                                     ? std::string("現在のリストを保存しますか？")
                                     : listFilePath_ + "は更新されています。\r\n上書き保存しますか？";
    switch (platform_.messages.show(question, ConfirmTitle, MessageIcon::Question, MessageButtons::YesNoCancel)) {
        case MessageResult::Yes: return SaveList(listFilePath_) ? Confirm::Proceed : Confirm::Abort;
        case MessageResult::No: return Confirm::Proceed;
        default: return Confirm::Abort;
    }
}

void CommandList::New() {
    if (ConfirmSaveList() == Confirm::Abort) return;
    listFilePath_.clear();
    listModified_ = false;
    list_.clear();
}

bool CommandList::SaveList(const std::string& path) {
    if (path.empty()) return SaveListAs();
    if (list_.count() == 0) return false;
    const std::string bytes = listfile::Encode(Entries(), std::nullopt, platform_.codePage);
    try {
        SaveFileSafely(platform_.files, path, bytes);
    } catch (const PlatformError& error) {
        // The old file is untouched and the list stays modified.
        platform_.messages.show(path + "\r\n" + error.what(), ErrorTitle, MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    listModified_ = false;
    listFilePath_ = path;
    return true;
}

bool CommandList::SaveListAs() {
    if (list_.count() == 0) {
        platform_.messages.show("リストに項目がありません。", "保存中止", MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    std::optional<std::string> chosen;
    try {
        chosen = platform_.dialogs.showSave(ListDialog("名前を付けてリストを保存", SaveFlags));
    } catch (const PlatformError&) {
        return false;
    }
    if (!chosen) return false;
    listFilePath_ = *chosen;
    return SaveList(*chosen);
}

std::string CommandList::ListDialogFolder() {
    const std::string folder = FolderOf(listFilePath_);
    if (!folder.empty() && platform_.files.directoryExists(folder.substr(0, folder.size() - 1))) return folder;
    return text::WithTrailingBackslash(platform_.system.programFolder());
}

FileDialogOptions CommandList::ListDialog(const std::string& title, unsigned flags) {
    FileDialogOptions options{title, ListFilter, flags, ListExtension, ""};
    if (!listFilePath_.empty()) options.initialFolder = ListDialogFolder();
    return options;
}

void CommandList::OpenList() {
    if (ConfirmSaveList() == Confirm::Abort) return;
    try {
        if (const auto chosen = platform_.dialogs.showOpen(ListDialog("リストを開く", OpenFlags))) {
            ReadListFile(*chosen);
        }
    } catch (const PlatformError&) {
        // The box could not be shown: nothing changes.
    }
}

void CommandList::AppendList() {
    try {
        if (const auto chosen = platform_.dialogs.showOpen(ListDialog("現在のリストに追加するリスト", OpenFlags))) {
            AppendListFile(*chosen);
        }
    } catch (const PlatformError&) {
        // The box could not be shown: nothing changes.
    }
}

std::optional<std::vector<std::string>> CommandList::ReadEntries(const std::string& path) {
    try {
        return listfile::Decode(platform_.files.readFile(path), platform_.codePage).entries;
    } catch (const PlatformError&) {
        return std::nullopt;
    }
}

void CommandList::AddEntries(const std::vector<std::string>& entries) { list_.addItems(entries); }

bool CommandList::ReadListFile(const std::string& path) {
    // The whole file is read before the list is touched: a file that cannot be read changes nothing.
    const auto entries = ReadEntries(path);
    if (!entries) return false;
    list_.clear();
    AddEntries(*entries);
    listModified_ = false;
    listFilePath_ = path;
    return true;
}

bool CommandList::AppendListFile(const std::string& path) {
    const auto entries = ReadEntries(path);
    if (!entries) return false;
    const std::vector<std::string> before = Entries();
    const std::set<std::string> held(before.begin(), before.end());
    std::vector<std::string> added;
    for (const std::string& line : *entries) {
        if (!held.count(line)) added.push_back(line);
    }
    AddEntries(added);
    listModified_ = true;
    return true;
}

void CommandList::OpenListAtStartup(std::string path) {
    path = text::WithoutTrailingBackslash(path);
    if (text::LCase(text::Right(path, 4)) != ".txt") {
        platform_.messages.show(path + "は開けません。\r\nテキストファイル（.txt)以外のファイルは開けません\r\n" + CheckSettings,
                                ErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    if (platform_.files.fileExists(path) && ReadListFile(path)) return;
    platform_.messages.show(path + "を開けません。\r\nあるいはファイルが存在しません。\r\n" + CheckSettings, ErrorTitle,
                            MessageIcon::Exclamation, MessageButtons::Ok);
}
