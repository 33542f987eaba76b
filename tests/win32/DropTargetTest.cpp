// Files dropped from the shell: the OLE drop target with real file-list data, its registration
// for the controls that accept files, and the older drop message without OLE.

#include <gtest/gtest.h>

#include <thread>

#include "TestSupport.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/Win32DropTarget.h"
#include "platform/win32/Win32Form.h"
#include "tests/shared/DragData.h"

namespace {

using dragdata::DragData;

const std::vector<std::wstring> kPaths = {L"C:\\Tavimero\\list.txt", L"C:\\日本語 フォルダ"};
const std::vector<std::string> kPathsUtf8 = {"C:\\Tavimero\\list.txt", "C:\\日本語 フォルダ"};

TEST(DropTargetTest, FileListsAreTakenAndEverythingElseRefused) {
    struct Case {
        const char* what;
        bool files;
        DWORD allowed;  // what the source allows
        DWORD effect;   // what the target answers
    };
    const Case cases[] = {
        {"files, any effect", true, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
         DROPEFFECT_COPY},
        {"files, link only", true, DROPEFFECT_LINK, DROPEFFECT_LINK},
        {"files, move only", true, DROPEFFECT_MOVE, DROPEFFECT_NONE},
        {"text", false, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_NONE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::vector<std::string>> drops;
        Win32DropTarget* target = Win32DropTarget::create(
            [&](const std::vector<std::string>& paths) { drops.push_back(paths); });
        DragData data(
            c.files ? CLIPFORMAT{CF_HDROP} : CLIPFORMAT{CF_UNICODETEXT},
            c.files ? dragdata::FileList(kPaths) : dragdata::Text(L"C:\\not a file list"));
        DWORD effect = c.allowed;
        EXPECT_EQ(target->DragEnter(&data, MK_LBUTTON, {10, 10}, &effect), S_OK);
        EXPECT_EQ(effect, c.effect);
        effect = c.allowed;
        target->DragOver(MK_LBUTTON, {12, 12}, &effect);
        EXPECT_EQ(effect, c.effect);
        effect = c.allowed;
        EXPECT_EQ(target->Drop(&data, 0, {12, 12}, &effect), S_OK);
        EXPECT_EQ(effect, c.effect);
        if (c.effect == DROPEFFECT_NONE) {
            EXPECT_TRUE(drops.empty());
        } else {
            EXPECT_EQ(drops, std::vector<std::vector<std::string>>{kPathsUtf8});
        }
        // After the control is gone nothing more arrives.
        target->disconnect();
        effect = c.allowed;
        target->Drop(&data, 0, {12, 12}, &effect);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
        EXPECT_LE(drops.size(), 1u);
        target->Release();
    }
}

constexpr int idAccepting = 3301, idList = 3302, idPlain = 3303;

FormSpec DropForm() {
    FormSpec form;
    form.name = "TavimeroDropTest";
    form.caption = "ドロップのテスト";
    form.outerWidthTwips = 6000;
    form.outerHeightTwips = 4500;
    form.controls = {
        {"txtAccepting",
         ControlKind::TextBox,
         "",
         {120, 120, 3000, 315},
         "",
         0,
         {},
         idAccepting,
         StyleAcceptsFiles},
        {"lstAccepting",
         ControlKind::ListBox,
         "",
         {120, 600, 3000, 1200},
         "",
         1,
         {},
         idList,
         StyleAcceptsFiles},
        {"txtPlain", ControlKind::TextBox, "", {120, 2000, 3000, 315}, "", 2, {}, idPlain},
    };
    return form;
}

TEST(DropTargetTest, ControlsThatAcceptFilesAreRegisteredAndHearTheDrop) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    {
        Win32Form form(DropForm(), false);
        std::vector<std::string> textDrops, listDrops;
        form.textBox("txtAccepting").onDropFiles = [&](const auto& paths) { textDrops = paths; };
        form.listBox("lstAccepting").onDropFiles = [&](const auto& paths) { listDrops = paths; };
        // The targets are registered once the shown window's first messages are handled.
        EXPECT_EQ(form.controlWindow("txtAccepting")->dropTarget(), nullptr);
        form.show();
        PumpMessages();

        Win32DropTarget* other = Win32DropTarget::create(nullptr);
        for (const int id : {idAccepting, idList}) {
            SCOPED_TRACE(id);
            EXPECT_EQ(RegisterDragDrop(GetDlgItem(form.window(), id), other),
                      DRAGDROP_E_ALREADYREGISTERED);
        }
        HWND plain = GetDlgItem(form.window(), idPlain);
        EXPECT_EQ(RegisterDragDrop(plain, other), S_OK);
        RevokeDragDrop(plain);
        other->Release();

        DragData data(CF_HDROP, dragdata::FileList(kPaths));
        for (const char* name : {"txtAccepting", "lstAccepting"}) {
            Win32DropTarget* target = form.controlWindow(name)->dropTarget();
            ASSERT_NE(target, nullptr) << name;
            DWORD effect = DROPEFFECT_COPY;
            target->DragEnter(&data, MK_LBUTTON, {5, 5}, &effect);
            effect = DROPEFFECT_COPY;
            target->Drop(&data, 0, {5, 5}, &effect);
        }
        EXPECT_EQ(textDrops, kPathsUtf8);
        EXPECT_EQ(listDrops, kPathsUtf8);
        EXPECT_EQ(form.controlWindow("txtPlain")->dropTarget(), nullptr);
    }
    OleUninitialize();
}

TEST(DropTargetTest, WithoutOleTheShellsDropMessageArrives) {
    // A thread of its own, on which neither OLE nor COM was ever started.
    std::vector<std::string> drops;
    LONG_PTR exStyle = 0;
    std::thread([&] {
        Win32Form form(DropForm(), false);
        form.textBox("txtAccepting").onDropFiles = [&](const auto& paths) { drops = paths; };
        form.show();
        PumpMessages();
        HWND box = GetDlgItem(form.window(), idAccepting);
        exStyle = GetWindowLongPtrW(box, GWL_EXSTYLE);
        // The control frees the block when it is done with it.
        SendMessageW(box, WM_DROPFILES, reinterpret_cast<WPARAM>(dragdata::FileList(kPaths)), 0);
    }).join();
    EXPECT_TRUE(exStyle & WS_EX_ACCEPTFILES);
    EXPECT_EQ(drops, kPathsUtf8);
}

}  // namespace
