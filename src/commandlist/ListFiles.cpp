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
constexpr const char* TooLargeMessage =
    "は大きすぎるため開けません。\r\nリストファイルは 64 MB までです。";
static_assert(MaxListFileBytes == 64 * 1024 * 1024, "the message names the limit");
}  // namespace

ListFiles::ListFiles(CommandList& list, const ListFileServices& services)
    : list_(list), services_(services) {}

ListFiles::Confirm ListFiles::ConfirmSaveList() {
    if (!list_.Modified() || list_.Count() == 0) return Confirm::Proceed;
    const std::string question =
        listFilePath_.empty() ? std::string("現在のリストを保存しますか？")
                              : listFilePath_ + "は更新されています。\r\n上書き保存しますか？";
    switch (services_.messages.show(question, ConfirmTitle, MessageIcon::Question,
                                    MessageButtons::YesNoCancel)) {
    case MessageResult::Yes:
        return SaveList(listFilePath_) ? Confirm::Proceed : Confirm::Abort;
    case MessageResult::No:
        return Confirm::Proceed;
    default:
        return Confirm::Abort;
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
    return services_.messages.show(path + UnreadableQuestion, ConfirmTitle,
                                   MessageIcon::Exclamation,
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
    if (folder && services_.files.directoryExists(*folder))
        return path::WithTrailingBackslash(*folder);
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
        if (const auto chosen =
                services_.dialogs.showOpen(ListDialog("現在のリストに追加するリスト"))) {
            AppendListFile(*chosen);
        }
    } catch (const PlatformError&) {
        // The box could not be shown: nothing changes.
    }
}

ListFiles::ReadOutcome ListFiles::ReadIntoList(const std::string& path, bool append) {
    listfile::Contents contents;
    try {
        contents =
            listfile::Decode(services_.files.readFile(path, MaxListFileBytes), services_.codePage);
    } catch (const FileTooLarge&) {
        services_.messages.show(path + TooLargeMessage, captions::Error, MessageIcon::Exclamation,
                                MessageButtons::Ok);
        return ReadOutcome::TooLarge;
    } catch (const PlatformError&) {
        return ReadOutcome::Unreadable;
    }
    if (append) {
        list_.Append(contents.entries);
        return ReadOutcome::Read;
    }
    list_.Load(std::move(contents.entries));
    listFilePath_ = path;
    encoding_ = contents.encoding;
    fileUnreadable_ = !contents.lossless;
    return ReadOutcome::Read;
}

bool ListFiles::ReadListFile(const std::string& path) {
    return ReadIntoList(path, false) == ReadOutcome::Read;
}

bool ListFiles::AppendListFile(const std::string& path) {
    return ReadIntoList(path, true) == ReadOutcome::Read;
}

void ListFiles::OpenListAtStartup(std::string path) {
    path = path::WithoutTrailingBackslash(path);
    if (text::LCase(text::Right(path, 4)) != ".txt") {
        services_.messages.show(
            path + "は開けません。\r\nテキストファイル（.txt)以外のファイルは開けません\r\n" +
                CheckSettings,
            captions::Error, MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    // A file too large has been reported as such.
    if (services_.files.fileExists(path) && ReadIntoList(path, false) != ReadOutcome::Unreadable) {
        return;
    }
    services_.messages.show(
        path + "を開けません。\r\nあるいはファイルが存在しません。\r\n" + CheckSettings,
        captions::Error, MessageIcon::Exclamation, MessageButtons::Ok);
}
