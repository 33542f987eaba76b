#include <gtest/gtest.h>

#include "commandlist/ListFiles.h"
#include "tests/fakes/FakePlatform.h"

using Entries = std::vector<std::string>;
using Confirm = ListFiles::Confirm;

// A command list and its file commands on fresh fakes.
struct ListOnFakes {
    ListOnFakes() {
        fake.files.addDirectory("C:\\Lists");
        fake.files.addFile("C:\\Lists\\old.txt", "old");
    }
    FakePlatform fake;
    FakeFocus focus;
    FakeListBox box{"lstCommand", focus};
    CommandList entries{box, fake.collation};
    ListFiles list{entries, {fake.dialogs, fake.messages, fake.files, fake.codePage, fake.system}};
};

class ListFilesTest : public ::testing::Test {
protected:
    ListFilesTest() { on.fake.files.addFile("C:\\Lists\\mixed.txt", "b\r\n\r\na\nx\rdir\r\n"); }
    // A list holding entries, modified, saved last to path (empty: never saved).
    void Modified(const Entries& added, const std::string& path = "") {
        if (!path.empty()) {
            ASSERT_TRUE(list.ReadListFile(path));
        }
        for (const std::string& entry : added) entries.Add(entry);
    }
    std::string Bytes(const std::string& path) { return fake.files.bytesOf(path); }

    ListOnFakes on;
    FakePlatform& fake = on.fake;
    FakeListBox& box = on.box;
    CommandList& entries = on.entries;
    ListFiles& list = on.list;
};

TEST_F(ListFilesTest, ReadingReplacesTheListInSortedOrder) {
    entries.Add("gone");
    ASSERT_TRUE(list.ReadListFile("C:\\Lists\\mixed.txt"));
    EXPECT_EQ(box.items(), (Entries{"", "a", "b", "dir", "x"}));
    EXPECT_FALSE(entries.Modified());
    EXPECT_EQ(list.ListFilePath(), "C:\\Lists\\mixed.txt");
}

TEST_F(ListFilesTest, AChosenFileThatCannotBeReadIsReportedWithTheSystemsText) {
    Modified({"keep"}, "C:\\Lists\\old.txt");
    struct Case {
        const char* name;
        void (ListFiles::*command)();
        bool locked;  // else gone
    };
    const Case cases[] = {
        {"open, locked", &ListFiles::OpenList, true},
        {"append, locked", &ListFiles::AppendList, true},
        {"open, gone", &ListFiles::OpenList, false},
        {"append, gone", &ListFiles::AppendList, false},
    };
    for (const Case& c : cases) {
        fake.messages.shown.clear();
        fake.files.failRead = c.locked;
        // Open first asks about the modified list: No goes on without saving.
        if (c.command == &ListFiles::OpenList) fake.messages.answers.push_back(MessageResult::No);
        fake.dialogs.answers.push_back(c.locked ? "C:\\Lists\\mixed.txt" : "C:\\Lists\\gone.txt");
        (list.*c.command)();
        ASSERT_FALSE(fake.messages.shown.empty()) << c.name;
        const auto& shown = fake.messages.shown.back();
        EXPECT_EQ(
            shown.text,
            std::string(c.locked ? "C:\\Lists\\mixed.txt" : "C:\\Lists\\gone.txt") +
                "を開けません。\r\n" +
                (c.locked ? "Access is denied." : "The system cannot find the file specified."))
            << c.name;
        EXPECT_EQ(shown.title, "エラー") << c.name;
        EXPECT_EQ(box.items(), (Entries{"keep", "old"})) << c.name;
        EXPECT_TRUE(entries.Modified()) << c.name;
        EXPECT_EQ(list.ListFilePath(), "C:\\Lists\\old.txt") << c.name;
    }
    // Cancel in the box says nothing.
    fake.messages.shown.clear();
    list.AppendList();
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(ListFilesTest, AppendingAddsTheLinesNotHeldYet) {
    fake.files.addFile("C:\\Lists\\more.txt", "dir\r\nnew\r\nnew\r\n\r\n");
    Modified({"dir"});
    ASSERT_TRUE(list.AppendListFile("C:\\Lists\\more.txt"));
    EXPECT_EQ(box.items(), (Entries{"", "dir", "new", "new"}));
    list.SaveList("C:\\Lists\\out.txt");
    ASSERT_TRUE(
        list.AppendListFile("C:\\Lists\\out.txt"));  // all held: nothing added, still modified
    EXPECT_EQ(box.count(), 4);
    EXPECT_TRUE(entries.Modified());
    EXPECT_EQ(list.ListFilePath(), "C:\\Lists\\out.txt");
}

TEST_F(ListFilesTest, SavingWritesTheExactBytesThroughATemporaryFile) {
    ASSERT_TRUE(list.ReadListFile("C:\\Lists\\mixed.txt"));
    ASSERT_TRUE(list.SaveList("C:\\Lists\\old.txt"));
    EXPECT_EQ(Bytes("C:\\Lists\\old.txt"), "a\r\nb\r\ndir\r\nx");
    EXPECT_EQ(fake.files.log, (Entries{"create temporary in C:\\Lists\\",
                                       "write C:\\Lists\\tmp1.tmp", "replace C:\\Lists\\old.txt"}));
    EXPECT_FALSE(fake.files.has("C:\\Lists\\tmp1.tmp"));
    EXPECT_EQ(list.ListFilePath(), "C:\\Lists\\old.txt");
}

TEST_F(ListFilesTest, AFailedSaveKeepsTheOldFileAndReportsIt) {
    for (auto step : {FakeFileSystem::Step::CreateTemporary, FakeFileSystem::Step::Write,
                      FakeFileSystem::Step::Replace}) {
        ListOnFakes on;
        FakePlatform& local = on.fake;
        ListFiles& localList = on.list;
        on.entries.Add("new");
        local.files.failAt = step;
        EXPECT_FALSE(localList.SaveList("C:\\Lists\\old.txt"));
        EXPECT_EQ(local.files.bytesOf("C:\\Lists\\old.txt"), "old");
        EXPECT_FALSE(local.files.has("C:\\Lists\\tmp1.tmp"));
        EXPECT_TRUE(on.entries.Modified());
        EXPECT_EQ(localList.ListFilePath(), "");
        ASSERT_EQ(local.messages.shown.size(), 1u);
        EXPECT_EQ(local.messages.shown[0].title, "エラー");
        EXPECT_EQ(local.messages.shown[0].text.rfind("C:\\Lists\\old.txt\r\n", 0), 0u);
    }
}

TEST_F(ListFilesTest, SavingAnEmptyListWritesNothing) {
    EXPECT_FALSE(list.SaveList("C:\\Lists\\old.txt"));
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_FALSE(list.SaveList(""));
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "リストに項目がありません。");
    EXPECT_EQ(fake.messages.shown[0].title, "保存中止");
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST_F(ListFilesTest, SaveAsAsksForANameWithTheListDialogSettings) {
    Modified({"dir"}, "C:\\Lists\\old.txt");
    fake.dialogs.answers.push_back("C:\\Lists\\new.txt");
    ASSERT_TRUE(list.SaveListAs());
    const FileDialogOptions& shown = fake.dialogs.shown.at(0);
    EXPECT_EQ(shown.title, "名前を付けてリストを保存");
    EXPECT_EQ(shown.filter, "リストファイル(*.txt)|*.txt");
    EXPECT_TRUE(shown.askBeforeOverwrite);
    EXPECT_TRUE(shown.hideReadOnly);
    EXPECT_TRUE(shown.folderMustExist);
    EXPECT_EQ(shown.defaultExtension, "txt");
    EXPECT_EQ(shown.initialFolder, "C:\\Lists\\");
    EXPECT_EQ(Bytes("C:\\Lists\\new.txt"), "dir\r\nold");
    EXPECT_EQ(list.ListFilePath(), "C:\\Lists\\new.txt");
}

TEST_F(ListFilesTest, TheDialogsStartInTheListsFolderOrTheProgramFolder) {
    EXPECT_EQ(list.ListDialogFolder(), "C:\\Tools\\");
    Modified({}, "C:\\Lists\\old.txt");
    EXPECT_EQ(list.ListDialogFolder(), "C:\\Lists\\");
    fake.files.directories.erase("C:\\LISTS");
    EXPECT_EQ(list.ListDialogFolder(), "C:\\Tools\\");
    fake.dialogs.answers.push_back(std::nullopt);
    list.OpenList();
    EXPECT_EQ(fake.dialogs.shown.at(0).title, "リストを開く");
    EXPECT_FALSE(fake.dialogs.shown.at(0).askBeforeOverwrite);
    list.AppendList();
    EXPECT_EQ(fake.dialogs.shown.at(1).title, "現在のリストに追加するリスト");
    EXPECT_FALSE(fake.dialogs.shown.at(1).askBeforeOverwrite);
}

TEST_F(ListFilesTest, TheSaveQuestionMatrix) {
    struct Case {
        const char* name;
        bool modified;
        bool empty;
        bool hasFile;
        std::optional<MessageResult> answer;
        std::optional<std::string> nameChosen;  // for a list without a file
        bool saveFails;
        Confirm expected;
        bool asked;
    };
    const Case cases[] = {
        {"unmodified", false, false, true, std::nullopt, std::nullopt, false, Confirm::Proceed,
         false},
        {"modified but empty", true, true, false, std::nullopt, std::nullopt, false,
         Confirm::Proceed, false},
        {"yes saves to the file", true, false, true, MessageResult::Yes, std::nullopt, false,
         Confirm::Proceed, true},
        {"yes asks for a name", true, false, false, MessageResult::Yes, "C:\\Lists\\n.txt", false,
         Confirm::Proceed, true},
        {"yes, name box cancelled", true, false, false, MessageResult::Yes, std::nullopt, false,
         Confirm::Abort, true},
        {"yes, save failed", true, false, true, MessageResult::Yes, std::nullopt, true,
         Confirm::Abort, true},
        {"no", true, false, true, MessageResult::No, std::nullopt, false, Confirm::Proceed, true},
        {"cancel", true, false, true, MessageResult::Cancel, std::nullopt, false, Confirm::Abort,
         true},
    };
    for (const Case& c : cases) {
        ListOnFakes on;
        FakePlatform& local = on.fake;
        ListFiles& localList = on.list;
        if (c.hasFile) localList.ReadListFile("C:\\Lists\\old.txt");
        if (c.empty) {
            on.entries.Add("x");
            while (on.entries.Count() > 0) on.entries.Remove(0);
        } else if (c.modified) {
            on.entries.Add("new");
        }
        if (c.answer) local.messages.answers.push_back(*c.answer);
        local.dialogs.answers.push_back(c.nameChosen);
        if (c.saveFails) local.files.failAt = FakeFileSystem::Step::Write;
        EXPECT_EQ(localList.ConfirmSaveList(), c.expected) << c.name;
        const bool asked =
            !local.messages.shown.empty() && local.messages.shown[0].title == "保存の確認";
        EXPECT_EQ(asked, c.asked) << c.name;
        if (asked) {
            EXPECT_EQ(local.messages.shown[0].text,
                      c.hasFile ? "C:\\Lists\\old.txtは更新されています。\r\n上書き保存しますか？"
                                : "現在のリストを保存しますか？")
                << c.name;
            EXPECT_EQ(local.messages.shown[0].buttons, MessageButtons::YesNoCancel);
            EXPECT_EQ(local.messages.shown[0].icon, MessageIcon::Question);
        }
    }
}

TEST_F(ListFilesTest, NewEmptiesTheListUnlessTheQuestionIsCancelled) {
    Modified({"dir"}, "C:\\Lists\\old.txt");
    fake.messages.answers.push_back(MessageResult::Cancel);
    list.New();
    EXPECT_EQ(box.count(), 2);
    fake.messages.answers.push_back(MessageResult::No);
    list.New();
    EXPECT_EQ(box.count(), 0);
    EXPECT_EQ(list.ListFilePath(), "");
    EXPECT_FALSE(entries.Modified());
}

TEST_F(ListFilesTest, TheStartupListIsCheckedAndReported) {
    fake.files.addFile("C:\\Lists\\START.TXT", "x");
    list.OpenListAtStartup("C:\\Lists\\START.TXT\\");
    EXPECT_EQ(box.items(), (Entries{"x"}));
    EXPECT_TRUE(fake.messages.shown.empty());

    list.OpenListAtStartup("C:\\Lists\\a.doc");
    list.OpenListAtStartup("C:\\Lists\\none.txt");
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[0].text,
              "C:\\Lists\\a.docは開けません。\r\nテキストファイル（.txt)"
              "以外のファイルは開けません\r\nツールの環境設定をご確認ください。");
    EXPECT_EQ(fake.messages.shown[1].text,
              "C:\\Lists\\none."
              "txtを開けません。\r\nあるいはファイルが存在しません。\r\nツールの環境設定をご確認く"
              "ださい。");
    for (const auto& shown : fake.messages.shown) {
        EXPECT_EQ(shown.title, "エラー");
        EXPECT_EQ(shown.icon, MessageIcon::Exclamation);
    }
    EXPECT_EQ(box.items(), (Entries{"x"}));
}

TEST_F(ListFilesTest, SavingKeepsTheFormTheFileWasReadIn) {
    // Each file in the order the list holds its lines, so that the saved bytes can be the same.
    const std::string utf8 = "cd \xE3\x83\x95\xE3\x82\xA9\xE3\x83\xAB\xE3\x83\x80\r\ndir";
    const std::string utf16 = std::string("\xFF\xFE", 2) + std::string("a\0\r\0\n\0b\0", 8);
    const std::string ansi = "ver\r\n\x93\xFA\x96\x7B";  // 日本 in the code page
    for (const std::string& bytes : {utf8, utf16, ansi, "\xEF\xBB\xBF" + utf8}) {
        fake.files.addFile("C:\\Lists\\form.txt", bytes);
        ASSERT_TRUE(list.ReadListFile("C:\\Lists\\form.txt"));
        ASSERT_TRUE(list.SaveList("C:\\Lists\\form.txt"));
        EXPECT_EQ(Bytes("C:\\Lists\\form.txt"), bytes);
    }
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(ListFilesTest, OverwritingAFileThatCouldNotBeReadExactlyAsksFirst) {
    // 0xFD is not a character of the code page: the list shows a replacement for it.
    const std::string unreadable = "echo \xFD\r\ndir";
    struct Case {
        const char* name;
        std::optional<MessageResult> answer;  // nothing: no question expected
        bool saveAs;
        const char* target;
        bool written;
    };
    const Case cases[] = {
        {"No keeps the file", MessageResult::No, false, "C:\\Lists\\bad.txt", false},
        {"Yes overwrites it", MessageResult::Yes, false, "C:\\Lists\\bad.txt", true},
        {"another file is not asked about", std::nullopt, true, "C:\\Lists\\other.txt", true},
        {"the same file by Save As is", MessageResult::No, true, "c:\\lists\\BAD.txt", false},
        // The same file under another name: its identity tells, not the path's text.
        {"the same file through a link is", MessageResult::No, false, "C:\\Lists\\alias.txt",
         false},
    };
    for (const Case& c : cases) {
        ListOnFakes local;
        local.fake.files.addFile("C:\\Lists\\bad.txt", unreadable);
        local.fake.files.addLink("C:\\Lists\\alias.txt", "C:\\Lists\\bad.txt");
        ASSERT_TRUE(local.list.ReadListFile("C:\\Lists\\bad.txt")) << c.name;
        local.entries.Add("new");
        if (c.answer) local.fake.messages.answers.push_back(*c.answer);
        if (c.saveAs) local.fake.dialogs.answers.push_back(c.target);
        const bool saved = c.saveAs ? local.list.SaveListAs() : local.list.SaveList(c.target);
        EXPECT_EQ(saved, c.written) << c.name;
        EXPECT_EQ(local.fake.messages.shown.size(), c.answer ? 1u : 0u) << c.name;
        if (c.answer) {
            EXPECT_EQ(local.fake.messages.shown[0].buttons, MessageButtons::YesNo) << c.name;
            EXPECT_EQ(local.fake.messages.shown[0].title, "保存の確認") << c.name;
        }
        EXPECT_EQ(local.fake.files.bytesOf("C:\\Lists\\bad.txt") == unreadable,
                  !c.written || c.saveAs)
            << c.name;
        EXPECT_EQ(local.entries.Modified(), !c.written) << c.name;
    }
}

TEST_F(ListFilesTest, AListFileOverTheLimitIsRefusedWithAMessageAndTheListKept) {
    const std::string path = "C:\\Lists\\huge.txt";
    struct Case {
        const char* name;
        void (*read)(ListFiles&, FakePlatform&, const std::string&);
    };
    const Case cases[] = {
        {"open",
         [](ListFiles& l, FakePlatform& f, const std::string& p) {
             f.dialogs.answers.push_back(p);
             l.OpenList();
         }},
        {"append",
         [](ListFiles& l, FakePlatform& f, const std::string& p) {
             f.dialogs.answers.push_back(p);
             l.AppendList();
         }},
        {"at start-up",
         [](ListFiles& l, FakePlatform&, const std::string& p) { l.OpenListAtStartup(p); }},
    };
    const std::string huge(MaxListFileBytes + 1, 'x');
    for (const Case& c : cases) {
        ListOnFakes local;
        local.fake.files.addFile(path, huge);
        ASSERT_TRUE(local.list.ReadListFile("C:\\Lists\\old.txt")) << c.name;
        c.read(local.list, local.fake, path);
        ASSERT_EQ(local.fake.messages.shown.size(), 1u) << c.name;
        const auto& shown = local.fake.messages.shown[0];
        EXPECT_EQ(shown.text,
                  path + "は大きすぎるため開けません。\r\nリストファイルは 64 MB までです。")
            << c.name;
        EXPECT_EQ(shown.title, "エラー") << c.name;
        EXPECT_EQ(shown.icon, MessageIcon::Exclamation) << c.name;
        EXPECT_EQ(local.box.items(), (Entries{"old"})) << c.name;
        EXPECT_EQ(local.list.ListFilePath(), "C:\\Lists\\old.txt") << c.name;
        EXPECT_FALSE(local.entries.Modified()) << c.name;
    }
}

TEST_F(ListFilesTest, SavingThroughALinkReplacesTheFileItLeadsTo) {
    fake.files.addDirectory("D:\\Shared");
    fake.files.addFile("D:\\Shared\\real.txt", "old");
    fake.files.addLink("C:\\Lists\\link.txt", "D:\\Shared\\real.txt");
    ASSERT_TRUE(list.ReadListFile("C:\\Lists\\link.txt"));
    entries.Add("new");
    ASSERT_TRUE(list.SaveList("C:\\Lists\\link.txt"));
    EXPECT_TRUE(fake.files.isLink("C:\\Lists\\link.txt"));
    EXPECT_EQ(fake.files.bytesOf("D:\\Shared\\real.txt"), "new\r\nold");
    // The temporary file was beside the target, on its volume.
    EXPECT_EQ(fake.files.log.at(0), "create temporary in D:\\Shared\\");
    EXPECT_EQ(list.ListFilePath(), "C:\\Lists\\link.txt");
}

TEST_F(ListFilesTest, APathWithForwardSlashesIsSavedWithItsTemporaryFileBesideIt) {
    entries.Add("new");
    for (const char* path : {"C:/Lists/old.txt", "C:/Lists/fresh.txt"}) {
        fake.files.log.clear();
        ASSERT_TRUE(list.SaveList(path)) << path;
        EXPECT_EQ(Bytes(path), "new") << path;
        EXPECT_EQ(fake.files.log.at(0), "create temporary in C:\\Lists\\") << path;
    }
    EXPECT_EQ(fake.files.listFolder("C:\\Lists").size(), 3u);  // no temporary file left
}

TEST_F(ListFilesTest, AListFileChangedByAnotherProgramIsAskedAboutBeforeItIsOverwritten) {
    const std::string path = "C:\\Lists\\old.txt";
    const std::string question =
        path +
        "は、読み込みまたは保存の後にほかのプログラムによって変更されています。\r\n"
        "上書き保存すると、その変更は失われます。上書き保存しますか？";
    struct Case {
        const char* name;
        void (*change)(FakeFileSystem&, const std::string&);
        bool asked;
        MessageResult answer;
        bool atClose;  // through the save question, as closing the window asks it
    };
    const Case cases[] = {
        {"rewritten, No keeps it",
         [](FakeFileSystem& f, const std::string& p) { f.addFile(p, "echo theirs\r\nold"); }, true,
         MessageResult::No, false},
        {"same size, written again",
         [](FakeFileSystem& f, const std::string& p) { f.addFile(p, "new"); }, true,
         MessageResult::No, false},
        {"replaced by another file, Yes overwrites it",
         [](FakeFileSystem& f, const std::string& p) {
             f.removeByHand(p);
             f.addFile(p, "old");
         },
         true, MessageResult::Yes, false},
        {"at close, No keeps it and the window open",
         [](FakeFileSystem& f, const std::string& p) { f.addFile(p, "theirs"); }, true,
         MessageResult::No, true},
        {"deleted: nothing to lose",
         [](FakeFileSystem& f, const std::string& p) { f.removeByHand(p); }, false,
         MessageResult::Yes, false},
        {"unchanged", [](FakeFileSystem&, const std::string&) {}, false, MessageResult::Yes, false},
    };
    for (const Case& c : cases) {
        ListOnFakes local;
        ASSERT_TRUE(local.list.ReadListFile(path)) << c.name;
        local.entries.Add("mine");
        c.change(local.fake.files, path);
        const bool had = local.fake.files.has(path);
        const std::string theirs = had ? local.fake.files.bytesOf(path) : "";
        if (c.atClose) local.fake.messages.answers.push_back(MessageResult::Yes);
        if (c.asked) local.fake.messages.answers.push_back(c.answer);
        const bool saved = c.atClose ? local.list.ConfirmSaveList() == Confirm::Proceed
                                     : local.list.SaveList(path);
        const bool written = !c.asked || c.answer == MessageResult::Yes;
        EXPECT_EQ(saved, written) << c.name;
        ASSERT_EQ(local.fake.messages.shown.size(), (c.atClose ? 1u : 0u) + (c.asked ? 1u : 0u))
            << c.name;
        if (c.asked) {
            const auto& shown = local.fake.messages.shown.back();
            EXPECT_EQ(shown.text, question) << c.name;
            EXPECT_EQ(shown.title, "保存の確認") << c.name;
            EXPECT_EQ(shown.buttons, MessageButtons::YesNo) << c.name;  // No the default
        }
        EXPECT_EQ(local.fake.files.bytesOf(path), written ? "mine\r\nold" : theirs) << c.name;
        EXPECT_EQ(local.entries.Modified(), !written) << c.name;
        if (!written) continue;
        // What this program saved is the state the next save compares with.
        local.fake.messages.shown.clear();
        local.entries.Add("more");
        EXPECT_TRUE(local.list.SaveList(path)) << c.name;
        EXPECT_TRUE(local.fake.messages.shown.empty()) << c.name;
    }
}

TEST_F(ListFilesTest, RelativePathsAreMadeAbsoluteOnceAndFileBoxesDoNotMoveTheSave) {
    // The settings name the list relative to where the program was started.
    fake.files.current = "C:\\Lists\\";
    list.OpenListAtStartup("old.txt");
    EXPECT_EQ(list.ListFilePath(), "C:\\Lists\\old.txt");
    // A box that moves the current folder on its way, as the system's boxes may.
    fake.files.addDirectory("D:\\Elsewhere");
    fake.dialogs.whileShown = [this] { fake.files.current = "D:\\Elsewhere\\"; };
    list.AppendList();  // cancelled
    entries.Add("new");
    ASSERT_TRUE(list.SaveList(list.ListFilePath()));
    EXPECT_EQ(Bytes("C:\\Lists\\old.txt"), "new\r\nold");
    EXPECT_FALSE(fake.files.has("D:\\Elsewhere\\old.txt"));

    // A name typed into the save box counts from the folder it was typed in, once.
    fake.dialogs.whileShown = [this] { fake.files.current = "C:\\Lists\\"; };
    fake.dialogs.answers.push_back("typed.txt");
    ASSERT_TRUE(list.SaveListAs());
    EXPECT_EQ(list.ListFilePath(), "C:\\Lists\\typed.txt");
    fake.dialogs.whileShown = [this] { fake.files.current = "D:\\Elsewhere\\"; };
    list.AppendList();
    entries.Add("more");
    ASSERT_TRUE(list.SaveList(list.ListFilePath()));
    EXPECT_EQ(Bytes("C:\\Lists\\typed.txt"), "more\r\nnew\r\nold");
    EXPECT_FALSE(fake.files.has("D:\\Elsewhere\\typed.txt"));
}

// A list box that refuses one entry, as a real one does when its memory runs out: the entries
// before it are in, the one refused is not.
class RefusingListBox : public FakeListBox {
public:
    using FakeListBox::FakeListBox;
    void addItems(std::span<const std::string> texts) override {
        for (const std::string& text : texts) insertItem(count(), text);
    }
    void insertItem(int index, const std::string& text) override {
        if (refuseIn >= 0 && refuseIn-- == 0) {
            if (outOfMemory) throw std::bad_alloc();
            throw PlatformError("メモリが不足しています。");
        }
        FakeListBox::insertItem(index, text);
    }
    int refuseIn = -1;  // entries taken before one is refused, once; -1: none is
    bool outOfMemory = false;
};

TEST_F(ListFilesTest, AListThatCannotBeShownLeavesTheListItsFileAndItsFormAsTheyWere) {
    std::string many;
    for (int i = 0; i < 300; ++i) many += "echo line " + std::to_string(i) + "\r\n";
    struct Case {
        const char* name;
        bool append;
        std::string bytes;
        bool outOfMemory;
    };
    const Case cases[] = {
        {"open", false, "dir\r\nver", false},
        {"open, out of memory", false, "dir\r\nver", true},
        {"append a few among the entries", true, "a\r\ncd x", false},
        {"append many among the entries", true, many, true},
    };
    for (const Case& c : cases) {
        FakePlatform local;
        local.files.addDirectory("C:\\Lists");
        // Read with LF line ends in UTF-8: what a save must keep.
        local.files.addFile("C:\\Lists\\mine.txt", "cd \xE6\x97\xA5\xE6\x9C\xAC\nzip");
        local.files.addFile("C:\\Lists\\other.txt", c.bytes);
        FakeFocus focus;
        RefusingListBox box{"lstCommand", focus};
        CommandList entries{box, local.collation};
        ListFiles files{entries,
                        {local.dialogs, local.messages, local.files, local.codePage, local.system}};
        ASSERT_TRUE(files.ReadListFile("C:\\Lists\\mine.txt")) << c.name;
        entries.Add("echo mine");
        box.setListIndex(1);
        const Entries before = box.items();

        box.refuseIn = 1;
        box.outOfMemory = c.outOfMemory;
        const bool read = c.append ? files.AppendListFile("C:\\Lists\\other.txt")
                                   : files.ReadListFile("C:\\Lists\\other.txt");
        EXPECT_FALSE(read) << c.name;
        ASSERT_EQ(local.messages.shown.size(), 1u) << c.name;
        EXPECT_EQ(local.messages.shown[0].text,
                  "C:\\Lists\\other.txtを読み込めません。\r\nメモリが不足しています。")
            << c.name;
        EXPECT_EQ(box.items(), before) << c.name;
        EXPECT_EQ(entries.Entries(), before) << c.name;
        EXPECT_EQ(box.listIndex(), 1) << c.name;
        EXPECT_TRUE(entries.Modified()) << c.name;
        EXPECT_EQ(files.ListFilePath(), "C:\\Lists\\mine.txt") << c.name;
        ASSERT_TRUE(files.SaveList(files.ListFilePath())) << c.name;
        EXPECT_EQ(local.files.bytesOf("C:\\Lists\\mine.txt"),
                  "cd \xE6\x97\xA5\xE6\x9C\xAC\necho mine\nzip")
            << c.name;
    }
}
