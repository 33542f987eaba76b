// Adding input lines to the command list with the check box chbAdd.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Driver.h"
#include "Steps.h"
#include "forms/ControlIds.h"

namespace e2e {
namespace {

TEST(List, NothingIsAddedWhileCheckBoxIsClear) {
    Session s;
    runningPrompt(s);
    ASSERT_FALSE(s.isChecked(ids::chbAdd))
        << "a fresh folder has no settings: the box starts clear";
    ASSERT_TRUE(execute(s, "echo u> u.txt"));
    ASSERT_TRUE(inputOnly(s, "echo v> v.txt"));
    ASSERT_TRUE(execute(s, ""));
    EXPECT_TRUE(fileHolds(s, L"v.txt", "v\r\n"));
    EXPECT_TRUE(s.listItems(ids::lstCommand).empty()) << s.report();
}

TEST(List, InputLinesAreAddedOnceInSortedOrder) {
    enum class Button { InputOnly, Execute };
    struct Step {
        Button button;
        const char* text;
        std::vector<std::string> list;  // the list afterwards
    };
    const Step steps[] = {
        {Button::Execute, "echo zz> z.txt", {"echo zz> z.txt"}},
        {Button::Execute, "echo aa> a.txt", {"echo aa> a.txt", "echo zz> z.txt"}},
        {Button::Execute, "echo zz> z.txt", {"echo aa> a.txt", "echo zz> z.txt"}},
        {Button::Execute, "", {"echo aa> a.txt", "echo zz> z.txt"}},
        {Button::InputOnly,
         "echo mm> m.txt",
         {"echo aa> a.txt", "echo mm> m.txt", "echo zz> z.txt"}},
        {Button::Execute, "", {"echo aa> a.txt", "echo mm> m.txt", "echo zz> z.txt"}},
        {Button::InputOnly,
         "echo mm> m.txt",
         {"echo aa> a.txt", "echo mm> m.txt", "echo zz> z.txt"}},
        {Button::Execute, "", {"echo aa> a.txt", "echo mm> m.txt", "echo zz> z.txt"}},
    };
    Session s;
    runningPrompt(s);
    s.click(ids::chbAdd);
    ASSERT_TRUE(s.isChecked(ids::chbAdd));
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(step.button == Button::Execute ? "execute \"" : "input only \"") +
                     step.text + "\"");
        ASSERT_TRUE(step.button == Button::Execute ? execute(s, step.text)
                                                   : inputOnly(s, step.text));
        EXPECT_EQ(s.listItems(ids::lstCommand), step.list);
    }
    EXPECT_TRUE(fileHolds(s, L"m.txt", "mm\r\n"));
    EXPECT_TRUE(fileHolds(s, L"a.txt", "aa\r\n"));
}

}  // namespace
}  // namespace e2e
