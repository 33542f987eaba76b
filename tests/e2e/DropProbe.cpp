// A helper library the end-to-end tests load into the running program to drop files on one of
// its controls through the control's real OLE drop target. A drag started by the test through
// DoDragDrop would depend on the real mouse pointer, its capture and the window under it;
// instead the probe calls the IDropTarget that RegisterDragDrop keeps in the window property
// "OleDropTargetInterface" (on Windows and in Wine alike), on the thread that owns the window,
// as OLE does at the end of a drag.
//
// Loaded as NAME.dll, it reads NAME.in beside itself (UTF-8: the main window's control id on
// the first line, then one path a line), and writes NAME.txt: "target 0" when the control has
// no drop target, else "target 1", then "enter E" and "drop E" with the effects the target
// answered (DROPEFFECT values). The work happens on the window's thread, from a message hook:
// the loader's thread must not call into the program. A copy under a new name is needed for
// each drop, as the library stays loaded.

#include <cstdlib>
#include <string>
#include <vector>

#include "ProbeSupport.h"
#include "tests/shared/DragData.h"

namespace {

HINSTANCE self = nullptr;
HHOOK hook = nullptr;
HWND target = nullptr;
UINT probeMessage = 0;
std::wstring outputPath;
std::vector<std::wstring> paths;

// What a drag that ends over the middle of the control does: enter, move, drop.
std::string DropOnTarget() {
    auto* dropTarget = static_cast<IDropTarget*>(GetPropW(target, L"OleDropTargetInterface"));
    if (!dropTarget) return "target 0\n";
    dropTarget->AddRef();
    RECT rect{};
    GetWindowRect(target, &rect);
    const POINTL middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    const DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_LINK;
    dragdata::DragData data(CF_HDROP, dragdata::FileList(paths));
    DWORD entered = allowed;
    dropTarget->DragEnter(&data, MK_LBUTTON, middle, &entered);
    DWORD moved = allowed;
    dropTarget->DragOver(MK_LBUTTON, middle, &moved);
    DWORD dropped = allowed;
    dropTarget->Drop(&data, 0, middle, &dropped);
    dropTarget->Release();
    return "target 1\nenter " + std::to_string(entered) + "\ndrop " + std::to_string(dropped) +
           "\n";
}

LRESULT CALLBACK OnMessage(int code, WPARAM removed, LPARAM param) {
    auto* message = reinterpret_cast<MSG*>(param);
    if (code == HC_ACTION && removed == PM_REMOVE && message->message == probeMessage) {
        UnhookWindowsHookEx(hook);
        hook = nullptr;
        message->message = WM_NULL;
        probe::WriteAll(outputPath, DropOnTarget());
        return 0;
    }
    return CallNextHookEx(nullptr, code, removed, param);
}

// Reads the request and sets the hook; nothing here sends a message, as the loader still runs.
bool Start() {
    wchar_t buffer[MAX_PATH * 2] = {};
    const DWORD length = GetModuleFileNameW(self, buffer, MAX_PATH * 2);
    std::wstring base(buffer, length);
    base = base.substr(0, base.find_last_of(L'.'));
    outputPath = base + L".txt";
    const std::string request = probe::ReadAll(base + L".in");
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < request.size()) {
        size_t end = request.find('\n', start);
        if (end == std::string::npos) end = request.size();
        std::string line = request.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
        start = end + 1;
    }
    if (lines.empty()) return false;
    for (size_t i = 1; i < lines.size(); ++i) paths.push_back(probe::Wide(lines[i]));
    const HWND main = probe::MainWindow();
    if (!main) return false;
    target = GetDlgItem(main, std::atoi(lines[0].c_str()));
    if (!target) return false;
    probeMessage = RegisterWindowMessageW(L"TavimeroDropProbe");
    const DWORD thread = GetWindowThreadProcessId(main, nullptr);
    hook = SetWindowsHookExW(WH_GETMESSAGE, OnMessage, self, thread);
    return hook && PostMessageW(main, probeMessage, 0, 0);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    self = instance;
    if (!Start()) probe::WriteAll(outputPath, "not started\n");
    return TRUE;  // the hook procedure lives here until the drop is done
}
