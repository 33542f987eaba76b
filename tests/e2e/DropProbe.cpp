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

#include <windows.h>
// DROPFILES, the header of a shell file list.
#include <ole2.h>
#include <shlobj.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

HINSTANCE self = nullptr;
HHOOK hook = nullptr;
HWND target = nullptr;
UINT probeMessage = 0;
std::wstring outputPath;
std::vector<std::wstring> paths;

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                      nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string ReadAll(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes(static_cast<size_t>(GetFileSize(file, nullptr)), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

void WriteAll(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// A shell file list (CF_HDROP) of the paths, as the shell offers it while dragging.
class FileListData final : public IDataObject {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDataObject)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives as long as the drop
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        size_t characters = 1;
        for (const std::wstring& path : paths) characters += path.size() + 1;
        HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
        if (!memory) return E_OUTOFMEMORY;
        auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        auto* text = reinterpret_cast<wchar_t*>(header + 1);
        for (const std::wstring& path : paths) {
            CopyMemory(text, path.c_str(), path.size() * sizeof(wchar_t));
            text += path.size() + 1;
        }
        GlobalUnlock(memory);
        *medium = {};
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;  // the receiver releases it
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK
                                                                               : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
};

// What a drag that ends over the middle of the control does: enter, move, drop.
std::string DropOnTarget() {
    auto* dropTarget = static_cast<IDropTarget*>(GetPropW(target, L"OleDropTargetInterface"));
    if (!dropTarget) return "target 0\n";
    dropTarget->AddRef();
    RECT rect{};
    GetWindowRect(target, &rect);
    const POINTL middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    const DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_LINK;
    FileListData data;
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
        WriteAll(outputPath, DropOnTarget());
        return 0;
    }
    return CallNextHookEx(nullptr, code, removed, param);
}

struct Search {
    HWND found = nullptr;
};

BOOL CALLBACK FindMain(HWND window, LPARAM param) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (pid != GetCurrentProcessId() || std::wstring(name) != L"frmDosLaunch") return TRUE;
    reinterpret_cast<Search*>(param)->found = window;
    return FALSE;
}

// Reads the request and sets the hook; nothing here sends a message, as the loader still runs.
bool Start() {
    wchar_t buffer[MAX_PATH * 2] = {};
    const DWORD length = GetModuleFileNameW(self, buffer, MAX_PATH * 2);
    std::wstring base(buffer, length);
    base = base.substr(0, base.find_last_of(L'.'));
    outputPath = base + L".txt";
    const std::string request = ReadAll(base + L".in");
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
    for (size_t i = 1; i < lines.size(); ++i) paths.push_back(Wide(lines[i]));
    Search search;
    EnumWindows(FindMain, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return false;
    target = GetDlgItem(search.found, std::atoi(lines[0].c_str()));
    if (!target) return false;
    probeMessage = RegisterWindowMessageW(L"TavimeroDropProbe");
    const DWORD thread = GetWindowThreadProcessId(search.found, nullptr);
    hook = SetWindowsHookExW(WH_GETMESSAGE, OnMessage, self, thread);
    return hook && PostMessageW(search.found, probeMessage, 0, 0);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    self = instance;
    if (!Start()) WriteAll(outputPath, "not started\n");
    return TRUE;  // the hook procedure lives here until the drop is done
}
