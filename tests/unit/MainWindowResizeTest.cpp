#include "forms/MainWindowResize.h"

#include <gtest/gtest.h>

namespace {
const MainWindowLayout Design{
    {30, 480, 4390, 270}, {0, 840, 4455, 2760}, {0, 3720, 4455, 915}, {120, 4680, 4220, 765}};

int Exact(int height) { return height; }
}  // namespace

TEST(MainWindowResize, TheDesignSizeGivesTheDesignLayout) {
    const MainWindowLayout layout = ResizeMainWindow(4575, 6210, Design, Exact);
    EXPECT_EQ(layout.txtCD, (TwipsRect{30, 480, 4390, 270}));
    EXPECT_EQ(layout.lstCommand, (TwipsRect{0, 840, 4455, 2760}));
    EXPECT_EQ(layout.txtCommand, (TwipsRect{0, 3720, 4455, 915}));
    // 4575 / 2 - 2170 lands within a pixel of the design's 120 at any scale.
    EXPECT_EQ(layout.fraButtons, (TwipsRect{117, 4680, 4220, 765}));
}

TEST(MainWindowResize, SizesBelowTheThresholdsKeepTheLastSizes) {
    struct Case {
        int width, height;
        int txtCDWidth, listWidth, frameLeft, listHeight;
    };
    const Case cases[] = {
        {4000, 6210, 3815, 3880, 120, 2760},   // the frame would go left of its room
        {8000, 9000, 7815, 7880, 1830, 5550},
        {4575, 3000, 4390, 4455, 117, 2760},   // the list keeps its height
        {150, 3450, 4390, 30, 120, 2760},      // 150 - 185 is not positive; 150 - 120 is
        {100, 100, 4390, 4455, 120, 2760},
        {0, 0, 4390, 4455, 120, 2760},
        {-500, -500, 4390, 4455, 120, 2760},
    };
    for (const Case& c : cases) {
        const MainWindowLayout layout = ResizeMainWindow(c.width, c.height, Design, Exact);
        EXPECT_EQ(layout.txtCD.width, c.txtCDWidth) << c.width << "x" << c.height;
        EXPECT_EQ(layout.lstCommand.width, c.listWidth) << c.width << "x" << c.height;
        EXPECT_EQ(layout.txtCommand.width, c.listWidth) << c.width << "x" << c.height;
        EXPECT_EQ(layout.fraButtons.left, c.frameLeft) << c.width << "x" << c.height;
        EXPECT_EQ(layout.lstCommand.height, c.listHeight) << c.width << "x" << c.height;
        // The two tops always follow the list.
        EXPECT_EQ(layout.txtCommand.top, c.listHeight + 960);
        EXPECT_EQ(layout.fraButtons.top, c.listHeight + 1920);
        // Nothing else moves.
        EXPECT_EQ(layout.txtCD.left, 30);
        EXPECT_EQ(layout.txtCD.top, 480);
        EXPECT_EQ(layout.lstCommand.top, 840);
        EXPECT_EQ(layout.txtCommand.height, 915);
    }
}

TEST(MainWindowResize, TheTopsFollowTheListsHeightAsItRoundsToWholeLines) {
    const auto wholeLines = [](int height) { return (height - 30) / 195 * 195 + 30; };
    const MainWindowLayout layout = ResizeMainWindow(4575, 6000, Design, wholeLines);
    EXPECT_EQ(layout.lstCommand.height, 2370);  // 2550 asked, 12 lines shown
    EXPECT_EQ(layout.txtCommand.top, 3330);
    EXPECT_EQ(layout.fraButtons.top, 4290);
}
