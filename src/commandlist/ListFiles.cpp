#include "commandlist/ListFiles.h"

#include "commandlist/ListFile.h"
#include "commandlist/SafeSave.h"
#include "platform/PlatformError.h"
#include "text/Path.h"
#include "text/Product.h"
#include "text/Text.h"

namespace {
constexpr const char* ConfirmTitle = "保存の確認";
constexpr const char* CheckSettings = "ツールの環境設定をご確認ください。";
constexpr const char* UnreadableQuestion =
    "は、読み込めない文字を含んでいたため、その文字を置き換えて表示しています。\r\n"
    "上書き保存すると、元の文字は失われます。上書き保存しますか？";
}  // namespace

ListFiles::ListFiles(CommandList& list, const ListFileServices& services)
    : list_(list), services_(services) {}

ListFiles::Confirm ListFiles::ConfirmSaveList() {
    if (!list_.Modified() || list_.Count() == 0) return Confirm::Proceed;
    const std::string question = listFilePath_.empty()
                                     ? std::string("現在のリストを保存しますか？")
                                     : listFilePath_ + "は更新されています。\r\n上書き保存しますか？";
    switch (services_.messages.show(question, ConfirmTitle, MessageIcon::Question,
                                    MessageButtons::YesNoCancel)) {
        case MessageResult::Yes: return SaveList(listFilePath_) ? Confirm::Proceed : Confirm::Abort;
        case MessageResult::No: return Confirm::Proceed;
        default: return Confirm::Abort;
    }
}

void ListFiles::New() {
    if (ConfirmSaveList() == Confirm::Abort) return;
    listFilePath_.clear();
    encoding_.reset();
    fileUnreadable_ = false;
    list_.Clear();
}

bool ListFiles::SaveList(const std::string& path) {
    if (path.empty()) return SaveListAs();
    if (list_.Count() == 0) return false;
    if (!MayOverwriteUnreadableFile(path)) return false;
    const std::string bytes = listfile::Encode(list_.Entries(), encoding_, services_.codePage);
    try {
        SaveFileSafely(services_.files, path, bytes);
    } catch (const PlatformError& error) {
        // The old file is untouched and the list stays modified.
        services_.messages.show(path + "\r\n" + error.what(), captions::Error, MessageIcon::Error,
                                MessageButtons::Ok);
        return false;
    }
    list_.MarkSaved();
    if (text::UCase(path) == text::UCase(listFilePath_)) fileUnreadable_ = false;
    listFilePath_ = path;
    return true;
}

bool ListFiles::MayOverwriteUnreadableFile(const std::string& path) {
    if (!fileUnreadable_ || text::UCase(path) != text::UCase(listFilePath_)) return true;
    return services_.messages.show(path + UnreadableQuestion, ConfirmTitle, MessageIcon::Exclamation,
                                   MessageButtons::YesNo) == MessageResult::Yes;
}

bool ListFiles::SaveListAs() {
    if (list_.Count() == 0) {
        services_.messages.show("リストに項目がありません。", "保存中止", MessageIcon::Exclamation,
                                MessageButtons::Ok);
        return false;
    }
    FileDialogOptions options = ListDialog("名前を付けてリストを保存");
    options.askBeforeOverwrite = true;
    std::optional<std::string> chosen;
    try {
        chosen = services_.dialogs.showSave(options);
    } catch (const PlatformError&) {
        return false;
    }
    if (!chosen) return false;
    // A name chosen in the box is the list's file from now on, even if writing it fails.
    if (text::UCase(*chosen) != text::UCase(listFilePath_)) fileUnreadable_ = false;
    listFilePath_ = *chosen;
    return SaveList(*chosen);
}

std::string ListFiles::ListDialogFolder() {
    const auto folder = path::FolderOf(listFilePath_);
    if (folder && services_.files.directoryExists(*folder)) return path::WithTrailingBackslash(*folder);
    return path::WithTrailingBackslash(services_.system.programFolder());
}

FileDialogOptions ListFiles::ListDialog(const std::string& title) {
    FileDialogOptions options{title, listfile::DialogFilter, listfile::Extension, ""};
    if (!listFilePath_.empty()) options.initialFolder = ListDialogFolder();
    return options;
}

void ListFiles::OpenList() {
    if (ConfirmSaveList() == Confirm::Abort) return;
    try {
        if (const auto chosen = services_.dialogs.showOpen(ListDialog("リストを開く"))) {
            ReadListFile(*chosen);
        }
    } catch (const PlatformError&) {
        // The box could not be shown: nothing changes.
    }
}

void ListFiles::AppendList() {
    try {
        if (const auto chosen = services_.dialogs.showOpen(ListDialog("現在のリストに追加するリスト"))) {
            AppendListFile(*chosen);
        }
    } catch (const PlatformError&) {
        // The box could not be shown: nothing changes.
    }
}

std::optional<listfile::Contents> ListFiles::ReadContents(const std::string& path) {
    try {
        return listfile::Decode(services_.files.readFile(path), services_.codePage);
    } catch (const PlatformError&) {
        return std::nullopt;
    }
}

bool ListFiles::ReadListFile(const std::string& path) {
    // The whole file is read before the list is touched: a file that cannot be read changes nothing.
    const auto contents = ReadContents(path);
    if (!contents) return false;
    list_.Load(contents->entries);
    listFilePath_ = path;
    encoding_ = contents->encoding;
    fileUnreadable_ = !contents->lossless;
    return true;
}

bool ListFiles::AppendListFile(const std::string& path) {
    const auto contents = ReadContents(path);
    if (!contents) return false;
    list_.Append(contents->entries);
    return true;
}

void ListFiles::OpenListAtStartup(std::string path) {
    path = path::WithoutTrailingBackslash(path);
    if (text::LCase(text::Right(path, 4)) != ".txt") {
        services_.messages.show(
            path + "は開けません。\r\nテキストファイル（.txt)以外のファイルは開けません\r\n" + CheckSettings,
            captions::Error, MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    if (services_.files.fileExists(path) && ReadListFile(path)) return;
    services_.messages.show(path + "を開けません。\r\nあるいはファイルが存在しません。\r\n" + CheckSettings,
                            captions::Error, MessageIcon::Exclamation, MessageButtons::Ok);
}
