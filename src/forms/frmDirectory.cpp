#include "forms/frmDirectory.h"

#include "forms/ControlIds.h"
#include "platform/PlatformError.h"
#include "prompt/PromptSyntax.h"
#include "text/Path.h"
#include "text/Text.h"

namespace {
constexpr const char* NotReadyMessage = "デバイスの準備ができていません";
constexpr const char* NoFileMessage = "ファイルが選択されていません";
constexpr int KeyReturn = 13;

FormSpec frmDirectoryForm() {
    FormSpec form;
    form.name = "frmDirectory";
    form.caption = "パスの操作";
    form.clientWidthTwips = 6045;
    form.clientHeightTwips = 5415;
    form.font = {"ＭＳ Ｐゴシック", 900};
    form.sizable = false;
    form.controls = {
        {"drvChange", ControlKind::ComboBox, "", {0, 120, 3015, 300}, "", 0, FontSpec{}, ids::drvChange,
         StyleNone, "ドライブ"},
        // Enter in the folder list opens the selected folder, as a double-click does; the open
        // folder and its ancestors show an open folder, its subfolders a closed one.
        {"dirChange", ControlKind::ListBox, "", {0, 480, 3015, 3450}, "", 1, FontSpec{}, ids::dirChange,
         StyleTakesEnter | StyleItemImages, "フォルダー"},
        {"filChange", ControlKind::ListBox, "", {3030, 240, 3010, 3690}, "", 2, FontSpec{}, ids::filChange,
         StyleNone, "ファイル"},
        {"optCD", ControlKind::OptionButton, "カレントディレクトリの移動(&M)", {120, 250, 2655, 180}, "Frame1", 3, {},
         ids::optCD},
        {"optPath", ControlKind::OptionButton, "パスの入力(&P)", {120, 480, 1455, 310}, "Frame1", 4, {}, ids::optPath},
        {"cmdOk", ControlKind::Button, "OK(&O)", {120, 4920, 1335, 375}, "", 5, {}, ids::cmdDirectoryOk,
         StyleDefaultButton},
        {"cmdCancel", ControlKind::Button, "閉じる(&C)", {1560, 4920, 1335, 375}, "", 6, {}, ids::cmdDirectoryCancel,
         StyleCancelButton},
        {"chbAdd", ControlKind::CheckBox, "実行時にリストに追加する(&A)", {3120, 4980, 2775, 255}, "", 7, {},
         ids::chbAddDirectory},
        {"Frame1", ControlKind::Frame, "実行時の動作", {120, 3960, 5775, 855}, "", 8, {}, ids::Frame1},
        {"OptFileName", ControlKind::OptionButton, "ファイル名のみ入力(&F)", {1920, 480, 2415, 310}, "Frame1", 9, {},
         ids::OptFileName},
    };
    return form;
}
}  // namespace

frmDirectory::frmDirectory(const Services& services, mdlDos& shared, MainWindowActions& main)
    : services_(services),
      shared_(shared),
      main_(main),
      form_(services.forms.create(frmDirectoryForm())),
      drvChange(form_->comboBox("drvChange")),
      dirChange(form_->listBox("dirChange")),
      filChange(form_->listBox("filChange")),
      optCD(form_->checkBox("optCD")),
      optPath(form_->checkBox("optPath")),
      OptFileName(form_->checkBox("OptFileName")),
      cmdOk(form_->button("cmdOk")),
      cmdCancel(form_->button("cmdCancel")),
      chbAdd(form_->checkBox("chbAdd")) {
    form_->onQueryUnload = [this] { return Form_QueryUnload(); };
    drvChange.onChange = [this] { drvChange_Change(); };
    dirChange.onDblClick = [this] { dirChange_DblClick(); };
    dirChange.onKeyDown = [this](int key, int shift) { dirChange_KeyDown(key, shift); };
    filChange.onDblClick = [this] { filChange_DblClick(); };
    cmdOk.onClick = [this] { cmdOk_Click(); };
    cmdCancel.onClick = [this] { cmdCancel_Click(); };
}

frmDirectory::~frmDirectory() = default;

void frmDirectory::Show() {
    Form_Load();
    form_->show();
}

void frmDirectory::Activate() { form_->activate(); }

void frmDirectory::Close() { form_->close(); }

void frmDirectory::Form_Load() {
    form_->setCaption(captions::DirectoryBrowser);
    for (const std::string& entry : listing::DriveEntries(services_.files)) drvChange.addItem(entry);
    std::string start;
    if (services_.files.directoryExists(shared_.CurrentDir)) {
        start = shared_.CurrentDir;
    } else {
        shared_.CurrentDir = path::WithoutTrailingBackslash(services_.system.programFolder());
        start = services_.files.currentDirectory();
    }
    const std::string letter = text::LCase(text::Left(start, 1));
    for (int i = 0; i < drvChange.count(); ++i) {
        if (text::Left(drvChange.item(i), 1) == letter) drvChange.setListIndex(i);
    }
    try {
        SetFolder(text::EndsWith(start, ":") ? start + "\\" : start);
    } catch (const PlatformError&) {
        // The lists stay empty; picking another drive or folder fills them.
    }
    chbAdd.setValue(shared_.AddListDirectory ? 1 : 0);
    (shared_.DoDirectory == 0 ? optCD : shared_.DoDirectory == 1 ? optPath : OptFileName).setValue(1);
}

bool frmDirectory::Form_QueryUnload() {
    shared_.DirectoryShown = false;
    return false;
}

void frmDirectory::SetFolder(const std::string& path) {
    listing::FolderView view = listing::Folders(path, services_.files);
    const std::vector<std::string> names = listing::Files(view.entries[static_cast<std::size_t>(view.current)].path,
                                                          services_.files);
    folders_ = std::move(view);
    path_ = folders_.entries[static_cast<std::size_t>(folders_.current)].path;
    dirChange.clear();
    for (std::size_t i = 0; i < folders_.entries.size(); ++i) {
        dirChange.addItem(folders_.entries[i].shown);
        const bool onThePath = static_cast<int>(i) <= folders_.current;
        dirChange.setItemImage(static_cast<int>(i),
                               onThePath ? ItemImage::OpenFolder : ItemImage::ClosedFolder);
    }
    dirChange.setListIndex(folders_.current);
    filChange.clear();
    for (const std::string& name : names) filChange.addItem(name);
}

void frmDirectory::drvChange_Change() {
    if (drvChange.listIndex() < 0) return;
    try {
        SetFolder(text::Left(drvChange.item(drvChange.listIndex()), 2) + "\\");
    } catch (const PlatformError&) {
        // The drive list keeps the drive, the folder list its old folder.
        services_.messages.show(NotReadyMessage, captions::Error, MessageIcon::Exclamation,
                                MessageButtons::Ok);
    }
}

void frmDirectory::dirChange_DblClick() {
    const int index = dirChange.listIndex();
    if (index < 0 || index >= static_cast<int>(folders_.entries.size())) return;
    try {
        SetFolder(folders_.entries[static_cast<std::size_t>(index)].path);
    } catch (const PlatformError&) {
        // A folder that went away: the lists stay as they are.
    }
}

void frmDirectory::dirChange_KeyDown(int keyCode, int /*shift*/) {
    if (keyCode == KeyReturn) dirChange_DblClick();
}

void frmDirectory::filChange_DblClick() { filChange.setListIndex(-1); }

std::string frmDirectory::FileName() const {
    const int index = filChange.listIndex();
    return index < 0 ? std::string() : filChange.item(index);
}

void frmDirectory::cmdOk_Click() {
    if (optCD.value() == 1) {
        shared_.DoDirectory = 0;
        MoveCurrentDirectory();
    } else if (optPath.value() == 1) {
        shared_.DoDirectory = 1;
        InputPath();
    } else if (OptFileName.value() == 1) {
        shared_.DoDirectory = 2;
        InputFileName();
    }
    shared_.AddListDirectory = chbAdd.value() == 1;
}

void frmDirectory::cmdCancel_Click() { form_->close(); }

void frmDirectory::MoveCurrentDirectory() {
    const bool addList = chbAdd.value() == 1;
    const std::string drive = path::DriveOf(path_);
    // The drive list names drives in lower case and the tracking in upper case: the same drive
    // either way, to which no drive change is typed.
    const bool otherDrive = text::UCase(drive) != text::UCase(shared_.CurrentDrive);
    main_.ChangeDirectory(otherDrive ? drive : std::string(), path_, addList);
}

void frmDirectory::InputPath() {
    std::string s = path::WithTrailingBackslash(path_);
    const std::string file = FileName();
    if (!file.empty()) {
        s += file;
    } else if (s.size() < 2 || s[s.size() - 2] != ':') {
        s.pop_back();  // a folder without its backslash; a root keeps it
    }
    InputToCommand(path::QuotedForPrompt(s, PromptSyntaxOf(services_.system)));
}

void frmDirectory::InputFileName() {
    const std::string file = FileName();
    if (file.empty()) {
        services_.messages.show(NoFileMessage, captions::MainWindow, MessageIcon::Exclamation,
                                MessageButtons::Ok);
        main_.ReturnToCommand();
        return;
    }
    InputToCommand(path::QuotedForPrompt(file, PromptSyntaxOf(services_.system)));
}

void frmDirectory::InputToCommand(const std::string& text) {
    main_.AppendToCommand(text);
    if (chbAdd.value() == 1) main_.AddToList(text);
    main_.ReturnToCommand();
}
