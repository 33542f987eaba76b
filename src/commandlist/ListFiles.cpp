#include "commandlist/ListFiles.h"

#include <new>

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
constexpr const char* ChangedQuestion =
    "は、読み込みまたは保存の後にほかのプログラムによって変更されています。\r\n"
    "上書き保存すると、その変更は失われます。上書き保存しますか？";
constexpr const char* TooLargeMessage =
    "は大きすぎるため開けません。\r\nリストファイルは 64 MB までです。";
static_assert(MaxListFileBytes == 64 * 1024 * 1024, "the message names the limit");

// Why entries could not be shown, in the user's words.
std::string ReasonOf(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error)) return "メモリが不足しています。";
    return error.what();
}
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

void ListFiles::Forget() {
    listFilePath_.clear();
    encoding_.reset();
    lineEnd_ = listfile::LineEnd::CrLf;
    stamp_.reset();
    fileUnreadable_ = false;
}

void ListFiles::New() {
    if (ConfirmSaveList() == Confirm::Abort) return;
    Forget();
    list_.Clear();
}

bool ListFiles::SaveList(const std::string& path) {
    if (path.empty()) return SaveListAs();
    if (list_.Count() == 0) return false;
    const std::string target = services_.files.fullPath(path);
    if (!MayOverwrite(target, services_.files.fileStamp(target))) return false;
    const std::string bytes =
        listfile::Encode(list_.Entries(), encoding_, lineEnd_, services_.codePage);
    std::string replaced;
    try {
        replaced = SaveFileSafely(services_.files, target, bytes);
    } catch (const PlatformError& error) {
        // The old file is untouched and the list stays modified.
        services_.messages.show(target + "\r\n" + error.what(), captions::Error, MessageIcon::Error,
                                MessageButtons::Ok);
        return false;
    }
    list_.MarkSaved();
    listFilePath_ = target;
    fileUnreadable_ = false;
    // Taken after the save: a change another program makes from now on is asked about.
    stamp_ = services_.files.fileStamp(replaced);
    return true;
}

bool ListFiles::IsListsFile(const std::string& target,
                            const std::optional<FileStamp>& current) const {
    if (listFilePath_.empty()) return false;
    if (text::UCase(target) == text::UCase(listFilePath_)) return true;
    return current && stamp_ && current->sameFile(*stamp_);
}

bool ListFiles::MayOverwrite(const std::string& target, const std::optional<FileStamp>& current) {
    // Nothing there, or not the list's file: nothing of the list's file is lost.
    if (!current || !IsListsFile(target, current)) return true;
    const char* question = nullptr;
    if (stamp_ && *current != *stamp_) {
        question = ChangedQuestion;
    } else if (fileUnreadable_ && (!stamp_ || current->sameFile(*stamp_))) {
        // The very file that was read, whatever the name it is saved under.
        question = UnreadableQuestion;
    }
    if (!question) return true;
    return services_.messages.show(target + question, ConfirmTitle, MessageIcon::Exclamation,
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
    const std::string target = services_.files.fullPath(*chosen);
    // A name chosen in the box is the list's file from now on, even if writing it fails. Another
    // file was confirmed in the box: what is known of the old one does not hold for it.
    if (!IsListsFile(target, services_.files.fileStamp(target))) {
        const auto encoding = encoding_;
        const auto lineEnd = lineEnd_;
        Forget();
        encoding_ = encoding;
        lineEnd_ = lineEnd;
    }
    listFilePath_ = target;
    return SaveList(target);
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

ListFiles::ReadOutcome ListFiles::ReadIntoList(const std::string& path, bool append,
                                               bool reportUnreadable) {
    // Absolute once: a later change of the current folder cannot move where the list is saved.
    const std::string full = services_.files.fullPath(path);
    const auto report = [&](const std::string& text, MessageIcon icon) {
        services_.messages.show(text, captions::Error, icon, MessageButtons::Ok);
    };
    // Taken before reading: a change while the file is read is asked about at the next save.
    const std::optional<FileStamp> stamp = services_.files.fileStamp(full);
    listfile::Contents contents;
    try {
        contents =
            listfile::Decode(services_.files.readFile(full, MaxListFileBytes), services_.codePage);
    } catch (const FileTooLarge&) {
        report(full + TooLargeMessage, MessageIcon::Exclamation);
        return ReadOutcome::Reported;
    } catch (const PlatformError& error) {
        if (!reportUnreadable) return ReadOutcome::Unreadable;
        report(full + "を開けません。\r\n" + error.what(), MessageIcon::Exclamation);
        return ReadOutcome::Reported;
    } catch (const std::bad_alloc& error) {
        report(full + "を読み込めません。\r\n" + ReasonOf(error), MessageIcon::Error);
        return ReadOutcome::Reported;
    }
    try {
        if (append) {
            list_.Append(contents.entries);
            return ReadOutcome::Read;
        }
        list_.Load(std::move(contents.entries));
    } catch (const std::exception& error) {
        // The list is as it was, and so is what is known of its file.
        report(full + "を読み込めません。\r\n" + ReasonOf(error), MessageIcon::Error);
        return ReadOutcome::Reported;
    }
    listFilePath_ = full;
    encoding_ = contents.encoding;
    lineEnd_ = contents.lineEnd;
    stamp_ = stamp;
    fileUnreadable_ = !contents.lossless;
    return ReadOutcome::Read;
}

bool ListFiles::ReadListFile(const std::string& path) {
    return ReadIntoList(path, false, true) == ReadOutcome::Read;
}

bool ListFiles::AppendListFile(const std::string& path) {
    return ReadIntoList(path, true, true) == ReadOutcome::Read;
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
    // A file too large, or one whose entries could not be shown, has been reported as such.
    if (services_.files.fileExists(path) &&
        ReadIntoList(path, false, false) != ReadOutcome::Unreadable) {
        return;
    }
    services_.messages.show(
        path + "を開けません。\r\nあるいはファイルが存在しません。\r\n" + CheckSettings,
        captions::Error, MessageIcon::Exclamation, MessageButtons::Ok);
}
