#include "platform/win32/Win32FileDialogs.h"

#include <commdlg.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/PlatformError.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Wide.h"

namespace {

// Room for the longest path the system knows, with its null.
constexpr DWORD FileNameBufferSize = 32768;

enum class Kind { Open, Save };

// The boxes' functions. comdlg32, with the libraries it brings along, takes tens of
// milliseconds to load under Wine: it is loaded for the first box, not at every start. From the
// system folder by its full path, as every library the program loads.
struct FileBoxLibrary {
    using ShowBox = BOOL(WINAPI*)(LPOPENFILENAMEW);
    using LastError = DWORD(WINAPI*)();
    ShowBox open = nullptr;
    ShowBox save = nullptr;
    LastError lastError = nullptr;
};

const FileBoxLibrary& FileBoxes() {
    static const FileBoxLibrary library = [] {
        FileBoxLibrary functions;
        HMODULE module = LoadSystemLibrary(L"comdlg32.dll");
        if (!module) return functions;
        const auto find = [module](const char* name) {
            return reinterpret_cast<void*>(GetProcAddress(module, name));
        };
        functions.open = reinterpret_cast<FileBoxLibrary::ShowBox>(find("GetOpenFileNameW"));
        functions.save = reinterpret_cast<FileBoxLibrary::ShowBox>(find("GetSaveFileNameW"));
        functions.lastError =
            reinterpret_cast<FileBoxLibrary::LastError>(find("CommDlgExtendedError"));
        return functions;
    }();
    return library;
}

// A filter as the options hold it ("Text (*.txt)|*.txt|All|*.*") in the form the boxes take:
// each piece ended by a null, the whole ended by one more.
std::wstring FilterForFileDialog(const std::string& filter) {
    if (filter.empty()) return {};
    std::wstring pieces = ToWide(filter);
    for (wchar_t& c : pieces) {
        if (c == L'|') c = L'\0';
    }
    // c_str() adds the second null.
    pieces += L'\0';
    return pieces;
}

std::optional<std::string> Show(Kind kind, const FileDialogOptions& options) {
    const std::wstring title = ToWide(options.title);
    const std::wstring filter = FilterForFileDialog(options.filter);
    const std::wstring extension = ToWide(options.defaultExtension);
    const std::wstring folder = ToWide(options.initialFolder);
    std::vector<wchar_t> fileName(FileNameBufferSize, L'\0');

    OPENFILENAMEW box{};
    box.lStructSize = sizeof box;
    box.hwndOwner = ProgramOwnerWindow();
    box.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    box.nFilterIndex = 1;
    box.lpstrFile = fileName.data();
    box.nMaxFile = FileNameBufferSize;
    box.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    box.lpstrTitle = title.empty() ? nullptr : title.c_str();
    // A box that moves through folders changes the program's current directory unless told
    // not to; a relative name saved later, or a prompt started later, would follow it.
    box.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (options.hideReadOnly) box.Flags |= OFN_HIDEREADONLY;
    if (options.folderMustExist) box.Flags |= OFN_PATHMUSTEXIST;
    if (options.askBeforeOverwrite) box.Flags |= OFN_OVERWRITEPROMPT;
    box.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();

    const FileBoxLibrary& boxes = FileBoxes();
    if (!boxes.open || !boxes.save || !boxes.lastError) {
        throw PlatformError("ファイルを選ぶボックスを表示できません (comdlg32.dll)");
    }
    const BOOL chosen = kind == Kind::Open ? boxes.open(&box) : boxes.save(&box);
    if (chosen) return NameToUtf8(fileName.data());
    const DWORD error = boxes.lastError();
    if (error == 0) return std::nullopt;  // cancelled
    char code[16];
    std::snprintf(code, sizeof code, "0x%04lX", static_cast<unsigned long>(error));
    throw PlatformError(std::string("ファイルを選ぶボックスを表示できません (エラー ") + code +
                        ")");
}

}  // namespace

HWND ProgramOwnerWindow() {
    if (HWND active = GetActiveWindow()) return active;
    HWND foreground = GetForegroundWindow();
    DWORD process = 0;
    if (foreground) GetWindowThreadProcessId(foreground, &process);
    return process == GetCurrentProcessId() ? foreground : nullptr;
}

std::optional<std::string> Win32FileDialogs::showOpen(const FileDialogOptions& options) {
    return Show(Kind::Open, options);
}

std::optional<std::string> Win32FileDialogs::showSave(const FileDialogOptions& options) {
    return Show(Kind::Save, options);
}
