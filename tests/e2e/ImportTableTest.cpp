// Nothing planted: every DLL the program imports is one that Windows takes from its own folder
// whatever lies beside the program (the known DLLs), or comctl32, which the manifest binds to
// the system's side-by-side copy. Any other name a copy planted beside Tavimero.exe (a zip
// unpacked in Downloads) could answer, inside the program, before its first line runs. Wine
// always prefers its own DLLs, so this is shown by the import table rather than by planting.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Driver.h"

namespace e2e {
namespace {

// The known DLLs of Windows 7 to 11 (HKLM\System\CurrentControlSet\Control\Session
// Manager\KnownDLLs), lower case, and comctl32.
const std::set<std::string> kAllowed = {
    "advapi32.dll", "clbcatq.dll", "combase.dll",  "comctl32.dll", "comdlg32.dll", "coml2.dll",
    "difxapi.dll",  "gdi32.dll",   "gdiplus.dll",  "imagehlp.dll", "imm32.dll",    "kernel32.dll",
    "msctf.dll",    "msvcrt.dll",  "normaliz.dll", "nsi.dll",      "ole32.dll",    "oleaut32.dll",
    "psapi.dll",    "rpcrt4.dll",  "sechost.dll",  "setupapi.dll", "shcore.dll",   "shell32.dll",
    "shlwapi.dll",  "user32.dll",  "wldap32.dll",  "ws2_32.dll",
};

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The DLL names a PE image imports, directly and delay-loaded; nothing when it is no image.
class ImportTable {
public:
    explicit ImportTable(std::vector<char> image) : image_(std::move(image)) {}

    std::optional<std::vector<std::string>> dllNames() const {
        const auto dos = at<IMAGE_DOS_HEADER>(0);
        if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE) return std::nullopt;
        const auto nt = at<IMAGE_NT_HEADERS64>(static_cast<size_t>(dos->e_lfanew));
        if (!nt || nt->Signature != IMAGE_NT_SIGNATURE ||
            nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
            return std::nullopt;
        }
        sections_ = static_cast<size_t>(dos->e_lfanew) +
                    offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                    nt->FileHeader.SizeOfOptionalHeader;
        sectionCount_ = nt->FileHeader.NumberOfSections;
        const auto& directories = nt->OptionalHeader.DataDirectory;
        std::vector<std::string> names;
        // Each table ends with an entry of zeros.
        if (const auto start = offsetOf(directories[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress)) {
            for (size_t at_ = *start;; at_ += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
                const auto entry = at<IMAGE_IMPORT_DESCRIPTOR>(at_);
                if (!entry) return std::nullopt;
                if (entry->Name == 0) break;
                const auto name = stringAt(entry->Name);
                if (!name) return std::nullopt;
                names.push_back(*name);
            }
        }
        if (const auto start =
                offsetOf(directories[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT].VirtualAddress)) {
            for (size_t at_ = *start;; at_ += sizeof(IMAGE_DELAYLOAD_DESCRIPTOR)) {
                const auto entry = at<IMAGE_DELAYLOAD_DESCRIPTOR>(at_);
                if (!entry) return std::nullopt;
                if (entry->DllNameRVA == 0) break;
                const auto name = stringAt(entry->DllNameRVA);
                if (!name) return std::nullopt;
                names.push_back(*name);
            }
        }
        return names;
    }

private:
    template <typename T>
    std::optional<T> at(size_t offset) const {
        if (offset > image_.size() || image_.size() - offset < sizeof(T)) return std::nullopt;
        T value;
        std::memcpy(&value, image_.data() + offset, sizeof(T));
        return value;
    }
    // Where in the file the address of the loaded image lies; nothing for address 0.
    std::optional<size_t> offsetOf(DWORD rva) const {
        if (rva == 0) return std::nullopt;
        for (unsigned i = 0; i < sectionCount_; ++i) {
            const auto section =
                at<IMAGE_SECTION_HEADER>(sections_ + i * sizeof(IMAGE_SECTION_HEADER));
            if (!section) return std::nullopt;
            const DWORD size = std::max(section->Misc.VirtualSize, section->SizeOfRawData);
            if (rva >= section->VirtualAddress && rva - section->VirtualAddress < size) {
                return section->PointerToRawData + (rva - section->VirtualAddress);
            }
        }
        return std::nullopt;
    }
    std::optional<std::string> stringAt(DWORD rva) const {
        const auto offset = offsetOf(rva);
        if (!offset || *offset >= image_.size()) return std::nullopt;
        const char* start = image_.data() + *offset;
        const void* end = std::memchr(start, '\0', image_.size() - *offset);
        if (!end) return std::nullopt;
        return std::string(start, static_cast<const char*>(end));
    }

    std::vector<char> image_;
    mutable size_t sections_ = 0;
    mutable unsigned sectionCount_ = 0;
};

TEST(ImportTable, TheProgramImportsOnlyDllsThatCannotBePlantedBesideIt) {
    const std::wstring program = programUnderTest();
    std::ifstream file(std::filesystem::path(program), std::ios::binary);
    ASSERT_TRUE(file) << narrow(program);
    const ImportTable table{
        std::vector<char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>())};
    const auto names = table.dllNames();
    ASSERT_TRUE(names.has_value()) << narrow(program) << " is no 64-bit image";
    // A table that reads as empty would pass anything: the program surely imports kernel32.
    std::set<std::string> imported;
    for (const std::string& name : *names) imported.insert(lower(name));
    EXPECT_TRUE(imported.count("kernel32.dll"));
    for (const std::string& name : imported) {
        // API sets are resolved by the loader itself, never from a folder.
        if (name.rfind("api-ms-win-", 0) == 0) continue;
        EXPECT_TRUE(kAllowed.count(name)) << name << " can be planted beside the program";
    }
}

}  // namespace
}  // namespace e2e
