#include "platform/win32/Win32Profile.h"

#include <windows.h>

#include "commandlist/SafeSave.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32FileSystem.h"

namespace {

// The buffer size is what cuts a long value: the system copies its first 1023 characters.
constexpr DWORD ValueBufferSize = 1024;
constexpr char Utf16Mark[] = "\xFF\xFE";
constexpr char Utf8Mark[] = "\xEF\xBB\xBF";
// A settings file is a few hundred bytes; anything this large is not one to rewrite.
constexpr std::uint64_t MaxRewrittenBytes = 16 * 1024 * 1024;

void WriteAll(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        ThrowSystemError();
    if (written != bytes.size()) ThrowSystemError(ERROR_WRITE_FAULT);
}

std::string Utf16Bytes(const std::wstring& text) {
    std::string bytes(Utf16Mark, 2);
    for (const wchar_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
    }
    return bytes;
}

// The characters of a file without the UTF-16 mark, as the profile functions read it.
std::wstring TextOfFile(const std::string& bytes) {
    UINT codePage = CP_ACP;
    std::string_view body(bytes);
    if (body.starts_with(Utf8Mark)) {
        codePage = CP_UTF8;
        body.remove_prefix(3);
    }
    if (body.empty()) return {};
    const int size = static_cast<int>(body.size());
    const int length = MultiByteToWideChar(codePage, 0, body.data(), size, nullptr, 0);
    if (length <= 0) ThrowSystemError();
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, body.data(), size, text.data(), length);
    return text;
}

bool HeldByAnsi(std::initializer_list<const std::string*> texts) {
    Win32CodePage codePage;
    for (const std::string* text : texts) {
        if (!codePage.toAnsi(*text)) return false;
    }
    return true;
}

// Makes sure the file can take the texts without losing a character (see the header).
void PrepareFile(const std::wstring& path, bool ansiWillDo) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND) ThrowSystemError();
        UniqueHandle created(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        if (created) return WriteAll(created.get(), std::string(Utf16Mark, 2));
        // Made by someone else meanwhile: taken as it is now.
        if (GetLastError() != ERROR_FILE_EXISTS) ThrowSystemError();
        return PrepareFile(path, ansiWillDo);
    }
    // Windows refuses to write or move over a read-only file; Wine may do either (it writes with
    // the rights of its Unix user): refused here for both.
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(file.get(), &information)) ThrowSystemError();
    if (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
        ThrowSystemError(ERROR_ACCESS_DENIED);
    if (ansiWillDo) return;
    file.reset();
    Win32FileSystem files;
    const std::string bytes = files.readFile(ToUtf8(path), MaxRewrittenBytes);
    // Already in UTF-16 (either byte order) as the profile functions write it.
    if (bytes.starts_with(Utf16Mark) || bytes.starts_with("\xFE\xFF")) return;
    SaveFileSafely(files, ToUtf8(path), Utf16Bytes(TextOfFile(bytes)));
}

}  // namespace

std::string Win32Profile::getString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& path) {
    wchar_t value[ValueBufferSize] = {};
    const DWORD length = GetPrivateProfileStringW(ToWide(section).c_str(), ToWide(key).c_str(),
                                                  ToWide(defaultValue).c_str(), value,
                                                  ValueBufferSize, ToWide(path).c_str());
    return ToUtf8(std::wstring_view(value, length));
}

void Win32Profile::setString(const std::string& section, const std::string& key,
                             const std::string& value, const std::string& path) {
    const std::wstring file = ToWide(path);
    PrepareFile(file, HeldByAnsi({&section, &key, &value}));
    if (!WritePrivateProfileStringW(ToWide(section).c_str(), ToWide(key).c_str(),
                                    ToWide(value).c_str(), file.c_str()))
        ThrowSystemError();
}
