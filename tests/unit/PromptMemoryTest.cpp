#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "directory/PromptMemory.h"

namespace {

using namespace std::string_literals;
using Bytes = std::vector<std::uint8_t>;

Bytes Utf16(std::u16string_view text) {
    Bytes bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

// Another process's memory as the system maps it: whole pages, zero-filled where nothing was
// written. A read succeeds only when every page it touches is mapped.
struct FakeMemory {
    std::map<std::uint64_t, Bytes> pages;
    std::vector<std::pair<std::uint64_t, std::size_t>> reads;
    std::function<void()> beforeRead;  // lets a test change the memory between reads

    void put(std::uint64_t address, const Bytes& bytes) {
        for (std::size_t done = 0; done < bytes.size();) {
            const std::size_t offset = (address + done) % kMemoryPage;
            const std::size_t piece = std::min(kMemoryPage - offset, bytes.size() - done);
            Bytes& target = pages[(address + done) / kMemoryPage];
            target.resize(kMemoryPage);
            std::copy_n(bytes.begin() + done, piece, target.begin() + offset);
            done += piece;
        }
    }
    void putPointer(std::uint64_t address, std::uint64_t value, std::uint32_t size) {
        Bytes bytes;
        for (std::uint32_t i = 0; i < size; ++i)
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        put(address, bytes);
    }
    bool read(std::uint64_t address, std::span<std::uint8_t> into) {
        reads.emplace_back(address, into.size());
        if (beforeRead) beforeRead();
        for (std::size_t done = 0; done < into.size();) {
            auto found = pages.find((address + done) / kMemoryPage);
            if (found == pages.end()) return false;
            const std::size_t offset = (address + done) % kMemoryPage;
            const std::size_t piece = std::min(kMemoryPage - offset, into.size() - done);
            std::copy_n(found->second.begin() + offset, piece, into.begin() + done);
            done += piece;
        }
        return true;
    }
    MemoryReader reader() {
        return [this](std::uint64_t address, std::span<std::uint8_t> into) {
            return read(address, into);
        };
    }
};

// What a prompt holds, laid out in fake memory for one bitness. Every field can be spoiled.
struct PromptImage {
    explicit PromptImage(const ProcessLayout& bitness) : layout(bitness) {}
    const ProcessLayout& layout;
    std::u16string current = u"C:\\Windows\\";
    std::u16string environment = u"=::=::\\\0=C:=C:\\Windows\0=d:=d:\\Work\0PATH=C:\\bin\0\0"s;
    std::uint64_t peb = 0x7FFE0000, parameters = 0x00510000, buffer = 0x00520000,
                  environmentAddress = 0x00530000;
    std::optional<std::uint16_t> length, maximumLength;  // the text's own when not set

    FakeMemory memory() const {
        FakeMemory memory;
        memory.putPointer(peb + layout.parametersInPeb, parameters, layout.pointerSize);
        const auto bytes = static_cast<std::uint16_t>(current.size() * 2);
        memory.putPointer(parameters + layout.currentDirectoryLength, length.value_or(bytes), 2);
        memory.putPointer(parameters + layout.currentDirectoryLength + 2,
                          maximumLength.value_or(bytes + 2), 2);
        memory.putPointer(parameters + layout.currentDirectoryBuffer, buffer, layout.pointerSize);
        memory.putPointer(parameters + layout.environment, environmentAddress, layout.pointerSize);
        if (buffer) memory.put(buffer, Utf16(current));
        if (environmentAddress) memory.put(environmentAddress, Utf16(environment));
        return memory;
    }
};

const DriveDirectories kDrives{{"C", "C:\\Windows"}, {"D", "d:\\Work"}};

}  // namespace

TEST(PromptMemory, DriveDirectoriesComeFromTheHiddenDriveVariablesOnly) {
    struct Case {
        const char* name;
        std::u16string block;
        std::optional<DriveDirectories> expected;
    };
    const Case cases[] = {
        {"well-formed", u"=::=::\\\0=C:=C:\\Windows\0=ExitCode=00000000\0=d:=d:\\Work\0A=1\0\0"s,
         kDrives},
        {"none", u"=::=::\\\0PATH=C:\\bin\0\0"s, DriveDirectories{}},
        {"empty block", u"\0"s, DriveDirectories{}},
        {"no bytes", u""s, DriveDirectories{}},
        {"look-alikes", u"=CD:=C:\\\0=C=C:\\\0C:=C:\\\0=1:=1:\\\0=C:x\0=C:\0\0"s,
         DriveDirectories{}},
        {"after the end", u"=C:=C:\\Windows\0\0=D:=D:\\\0\0"s,
         DriveDirectories{{"C", "C:\\Windows"}}},
        {"cut short", u"=C:=C:\\Windows\0=D:=D:\\Wo"s, DriveDirectories{{"C", "C:\\Windows"}}},
        {"other drive", u"=C:=D:\\\0\0"s, std::nullopt},
        {"no path", u"=C:=\0\0"s, std::nullopt},
        {"network path", u"=C:=\\\\server\\share\0\0"s, std::nullopt},
        {"twice", u"=C:=C:\\\0=c:=c:\\x\0\0"s, std::nullopt},
        {"unpaired surrogate", u"=C:=C:\\\xD800x\0\0"s, std::nullopt},
        {"surrogate elsewhere", u"A=\xDC00\0=C:=C:\\\0\0"s, DriveDirectories{{"C", "C:\\"}}},
        {"Japanese and beyond the BMP", u"=E:=E:\\日本\U0002000B\0\0"s,
         DriveDirectories{{"E", "E:\\日本\U0002000B"}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseDriveDirectories(Utf16(c.block)), c.expected) << c.name;
    }
    Bytes odd = Utf16(u"=C:=C:\\\0=D:=D:\\"s);
    odd.push_back(0);  // half a unit: the last string is still incomplete
    EXPECT_EQ(ParseDriveDirectories(odd), (DriveDirectories{{"C", "C:\\"}}));
}

TEST(PromptMemory, CurrentDirectoryMustBeADriveOrNetworkPathInValidUtf16) {
    const std::pair<std::u16string, std::optional<std::string>> cases[] = {
        {u"C:\\Windows\\", "C:\\Windows\\"},
        {u"c:\\", "c:\\"},
        {u"\\\\server\\share\\", "\\\\server\\share\\"},
        {u"Z:\\日本\U0002000B\\", "Z:\\日本\U0002000B\\"},
        {u"", std::nullopt},
        {u"C", std::nullopt},
        {u"Windows\\", std::nullopt},
        {u"\\Windows\\", std::nullopt},
        {u"1:\\", std::nullopt},
        {u"C:\\a\0b"s, std::nullopt},
        {u"C:\\\xD800", std::nullopt},
        {u"C:\\\xDC00x", std::nullopt},
        {u"C:\\\xD800x", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseCurrentDirectory(Utf16(text)), expected) << Utf16(text).size();
    }
    Bytes odd = Utf16(u"C:\\");
    odd.push_back('x');
    EXPECT_EQ(ParseCurrentDirectory(odd), std::nullopt);
}

class PromptMemoryLayout : public ::testing::TestWithParam<const ProcessLayout*> {
protected:
    PromptImage Image() const {
        PromptImage image(*GetParam());
        // A 64-bit prompt's blocks may lie above 4 GiB: the whole pointer must be used.
        if (GetParam()->pointerSize == 8) {
            image.parameters += 0x7FF600000000;
            image.buffer += 0x7FF600000000;
            image.environmentAddress += 0x7FF600000000;
        }
        return image;
    }
    static std::optional<PromptDirectories> Read(const PromptImage& image, FakeMemory& memory) {
        return ReadPromptDirectories(image.peb, image.layout, memory.reader());
    }
};

INSTANTIATE_TEST_SUITE_P(Bitness, PromptMemoryLayout, ::testing::Values(&kLayout64, &kLayout32),
                         [](const auto& info) {
                             return info.param->pointerSize == 8 ? "Bits64" : "Bits32";
                         });

TEST_P(PromptMemoryLayout, ReadsTheCurrentDirectoryAndTheDrives) {
    const PromptImage image = Image();
    FakeMemory memory = image.memory();
    EXPECT_EQ(Read(image, memory), (PromptDirectories{"C:\\Windows\\", kDrives}));
}

TEST_P(PromptMemoryLayout, NothingForLengthsAndPointersOutOfBounds) {
    struct Case {
        const char* name;
        std::function<void(PromptImage&)> spoil;
        std::uint64_t PromptImage::*unmapped = nullptr;  // the page at this address is missing
    };
    const auto keep = [](PromptImage&) {};
    const Case cases[] = {
        {"no parameters", [](PromptImage& i) { i.parameters = 0; }},
        {"no text", [](PromptImage& i) { i.buffer = 0; }},
        {"no environment", [](PromptImage& i) { i.environmentAddress = 0; }},
        {"zero length", [](PromptImage& i) { i.length = 0; }},
        {"odd length", [](PromptImage& i) { i.length = 21; }},
        {"beyond the maximum", [](PromptImage& i) { i.maximumLength = 20; }},
        {"invalid text", [](PromptImage& i) { i.current = u"\\Windows\\"; }},
        {"invalid drive", [](PromptImage& i) { i.environment = u"=C:=D:\\\0\0"s; }},
        {"PEB not mapped", keep, &PromptImage::peb},
        {"parameters not mapped", keep, &PromptImage::parameters},
        {"text not mapped", keep, &PromptImage::buffer},
        {"environment not mapped", keep, &PromptImage::environmentAddress},
    };
    for (const Case& c : cases) {
        PromptImage image = Image();
        c.spoil(image);
        FakeMemory memory = image.memory();
        if (c.unmapped) memory.pages.erase(image.*c.unmapped / kMemoryPage);
        EXPECT_EQ(Read(image, memory), std::nullopt) << c.name;
        // Memory that cannot be read is not read again and again.
        EXPECT_LE(memory.reads.size(), 8u) << c.name;
    }
}

TEST_P(PromptMemoryLayout, EnvironmentIsReadPageByPageNeverPastItsEnd) {
    // The block starts mid-page and ends on the last bytes of the next page; the page after
    // that does not exist.
    PromptImage image = Image();
    image.environment = u"=C:=C:\\Windows\0X="s + std::u16string(2970, u'x') + u"\0=D:=D:\\\0\0"s;
    image.environmentAddress += 2 * kMemoryPage - image.environment.size() * 2;
    FakeMemory memory = image.memory();
    ASSERT_EQ(memory.pages.count(image.environmentAddress / kMemoryPage + 2), 0u);
    const auto read = Read(image, memory);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->drives, (DriveDirectories{{"C", "C:\\Windows"}, {"D", "D:\\"}}));

    // Without its closing empty string the block runs into the missing page: unreadable.
    image.environment.back() = u'Y';
    memory = image.memory();
    EXPECT_EQ(Read(image, memory), std::nullopt);
}

TEST_P(PromptMemoryLayout, EnvironmentWithoutAnEndIsCutAtTheLimit) {
    PromptImage image = Image();
    image.environment = u"=C:=C:\\\0"s;
    while (image.environment.size() * 2 < kEnvironmentLimit - 8) image.environment += u"A=1\0"s;
    // The limit cuts this drive's string: it is left out.
    image.environment += u"=D:=D:\\"s + std::u16string(1000, u'x') + u'\0';
    FakeMemory memory = image.memory();
    const auto read = Read(image, memory);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->drives, (DriveDirectories{{"C", "C:\\"}}));
    std::size_t environmentBytes = 0;
    for (const auto& [address, size] : memory.reads) {
        EXPECT_LE(size, kMemoryPage);
        if (address >= image.environmentAddress &&
            address < image.environmentAddress + 2 * kEnvironmentLimit) {
            environmentBytes += size;
        }
    }
    EXPECT_EQ(environmentBytes, 2 * kEnvironmentLimit);  // two reads that agree
}

TEST_P(PromptMemoryLayout, CountsOnlyWhenTwoReadsInARowAgree) {
    const PromptImage image = Image();
    PromptImage moved = image;
    moved.current = u"C:\\Windows\\System32\\";
    FakeMemory memory = image.memory();
    const FakeMemory after = moved.memory();
    // The prompt changes its directory while the first read is under way.
    memory.beforeRead = [&] {
        if (memory.reads.size() == 3) memory.pages = after.pages;
    };
    EXPECT_EQ(Read(image, memory), (PromptDirectories{"C:\\Windows\\System32\\", kDrives}));

    // A prompt that changes all the time gives nothing, after a few reads.
    memory = image.memory();
    const FakeMemory before = image.memory();
    int flips = 0;
    memory.beforeRead = [&] {
        if (memory.reads.size() % 4 == 1) memory.pages = (++flips % 2 ? after : before).pages;
    };
    EXPECT_EQ(Read(image, memory), std::nullopt);
    EXPECT_LE(memory.reads.size(), 20u);
}

TEST_P(PromptMemoryLayout, AReadThatFindsTheLastResultCountsAtOnceAnyOtherIsReadAgain) {
    const PromptImage image = Image();
    FakeMemory memory = image.memory();
    const auto first = Read(image, memory);  // nothing to compare with: read twice
    ASSERT_TRUE(first);
    const std::size_t twice = memory.reads.size();
    memory.reads.clear();
    EXPECT_EQ(ReadPromptDirectories(image.peb, image.layout, memory.reader(), first), first);
    EXPECT_EQ(memory.reads.size() * 2, twice);

    // The prompt has moved since the last result: the new state counts when read twice alike.
    PromptImage moved = image;
    moved.current = u"C:\\Windows\\System32\\";
    memory = moved.memory();
    EXPECT_EQ(ReadPromptDirectories(image.peb, image.layout, memory.reader(), first),
              (PromptDirectories{"C:\\Windows\\System32\\", kDrives}));
    EXPECT_EQ(memory.reads.size(), twice);

    // Still moving while it is read: no read alike, nothing, though the last result is known.
    memory = image.memory();
    const FakeMemory after = moved.memory();
    const FakeMemory before = image.memory();
    int flips = 0;
    memory.beforeRead = [&] {
        if (memory.reads.size() % 4 == 1) memory.pages = (++flips % 2 ? after : before).pages;
    };
    const std::optional<PromptDirectories> elsewhere = PromptDirectories{"D:\\", {{"D", "D:\\"}}};
    EXPECT_EQ(ReadPromptDirectories(image.peb, image.layout, memory.reader(), elsewhere),
              std::nullopt);
}
