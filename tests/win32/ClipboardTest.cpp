#include <gtest/gtest.h>

#include "platform/win32/Win32Clipboard.h"

namespace {

TEST(ClipboardTest, TextRoundTripsThroughTheSystemClipboard) {
    Win32Clipboard clipboard;
    for (const std::string text :
         {"dir /w", "日本語のコマンド", "line 1\r\nline 2", "\U0002000B", ""}) {
        SCOPED_TRACE(text);
        clipboard.setText(text);
        EXPECT_EQ(clipboard.getText(), text);
    }
}

TEST(ClipboardTest, ClearLeavesNoText) {
    Win32Clipboard clipboard;
    clipboard.setText("something");
    clipboard.clear();
    EXPECT_EQ(clipboard.getText(), "");
}

TEST(ClipboardTest, TextSetElsewhereIsRead) {
    // Another owner (here a second instance) put it there: reading does not depend on owning it.
    Win32Clipboard writer;
    writer.setText("コピー元");
    Win32Clipboard reader;
    EXPECT_EQ(reader.getText(), "コピー元");
}

}  // namespace
