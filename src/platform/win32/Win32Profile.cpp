#include "platform/win32/Win32Profile.h"

#include <windows.h>

#include "platform/win32/Wide.h"

namespace {
// The buffer size is what cuts a long value: the system copies its first 1023 characters.
constexpr DWORD ValueBufferSize = 1024;
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
    WritePrivateProfileStringW(ToWide(section).c_str(), ToWide(key).c_str(), ToWide(value).c_str(),
                               ToWide(path).c_str());
}
