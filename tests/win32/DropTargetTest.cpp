// Files dropped from the shell: the OLE drop target with real file-list data, its registration
// for the controls that accept files, and the older drop message without OLE.

#include <gtest/gtest.h>

#include <thread>

#include "TestSupport.h"
#include "platform/win32/CallbackGuard.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/Wide.h"
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

// Counts the releases of the data handed over by a drop.
class ReleaseCounter final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++held); }
    ULONG STDMETHODCALLTYPE Release() override {
        ++releases;
        return static_cast<ULONG>(--held);
    }
    int held = 1, releases = 0;
};

// What a drop left for the message loop to report, taken off the slot.
std::string PendingFailure() {
    std::exception_ptr pending = std::exchange(PendingCallbackException(), nullptr);
    PumpMessages();  // the wake-up message the guard posted
    if (!pending) return "";
    try {
        std::rethrow_exception(pending);
    } catch (const UnpairedSurrogateInName&) {
        return "name";
    } catch (const std::bad_alloc&) {
        return "memory";
    } catch (...) {
        return "other";
    }
}

// A failure inside a drop (a name without an exact form, memory, the handler's own) ends at the
// drop's boundary, never inside the system's drag loop, releases the data once and waits for the
// message loop; nothing of a refused file list reaches the handler.
TEST(DropTargetTest, AFailedDropReleasesItsDataAndWaitsForTheLoop) {
    const std::wstring unpaired = std::wstring(L"C:\\x") + wchar_t(0xD800) + L"y";
    struct Case {
        const char* what;
        std::vector<std::wstring> paths;
        bool handlerFails;
        HRESULT result;
        std::string failure;
        std::size_t handled;
    };
    const Case cases[] = {
        {"a good drop", kPaths, false, S_OK, "", 1},
        {"a name with an unpaired surrogate",
         {kPaths[0], unpaired},
         false,
         E_UNEXPECTED,
         "name",
         0},
        {"the handler runs out of memory", kPaths, true, E_UNEXPECTED, "memory", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::size_t handled = 0;
        Win32DropTarget* target = Win32DropTarget::create([&](const std::vector<std::string>&) {
            ++handled;
            if (c.handlerFails) throw std::bad_alloc();
        });
        ReleaseCounter counter;
        DragData data(CF_HDROP, dragdata::FileList(c.paths));
        data.releaseThrough(&counter);
        DWORD effect = DROPEFFECT_COPY;
        target->DragEnter(&data, MK_LBUTTON, {1, 1}, &effect);
        effect = DROPEFFECT_COPY;
        HRESULT result = S_OK;
        EXPECT_NO_THROW(result = target->Drop(&data, 0, {1, 1}, &effect));
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(effect, c.failure.empty() ? DWORD{DROPEFFECT_COPY} : DWORD{DROPEFFECT_NONE});
        EXPECT_EQ(counter.releases, 1);
        EXPECT_EQ(handled, c.handled);
        EXPECT_EQ(PendingFailure(), c.failure);
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

TEST(DropTargetTest, TheDropMessageFreesItsBlockAlsoWhenANameIsRefused) {
    std::size_t drops = 0;
    std::string failure;
    UINT flagsAfter = 0;
    std::thread([&] {
        Win32Form form(DropForm(), false);
        form.textBox("txtAccepting").onDropFiles = [&](const auto&) { ++drops; };
        form.show();
        PumpMessages();
        HGLOBAL block = dragdata::FileList({std::wstring(L"C:\\a") + wchar_t(0xDC00)});
        SendMessageW(GetDlgItem(form.window(), idAccepting), WM_DROPFILES,
                     reinterpret_cast<WPARAM>(block), 0);
        flagsAfter = GlobalFlags(block);
        failure = PendingFailure();
    }).join();
    EXPECT_EQ(drops, 0u);
    EXPECT_EQ(failure, "name");
    EXPECT_EQ(flagsAfter, static_cast<UINT>(GMEM_INVALID_HANDLE)) << "the block was not freed";
}

}  // namespace
