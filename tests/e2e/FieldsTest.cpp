// Commands with fields: the values dialog that asks for them before anything is typed, what
// the prompt then receives, and the setting that turns the asking off.

#include <gtest/gtest.h>

#include <string>

#include "Driver.h"
#include "Steps.h"
#include "SystemBoxes.h"
#include "forms/ControlIds.h"
#include "text/Product.h"

namespace e2e {
namespace {

// Puts the text into txtCommand and presses an input button, posted: the press holds until the
// values dialog closes. The dialog, or nullptr when none came.
HWND openValues(Session& s, int button, std::string_view text) {
    s.setText(ids::txtCommand, text);
    postClickChild(s.window(), button);
    return waitForWindowOf(s.pid(), widen(captions::FieldValues));
}

HWND valueBox(HWND dialog, int row) { return requireChild(dialog, ids::txtFieldFirst + row); }

// The window with the keyboard focus in the dialog's thread.
HWND focusOf(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

std::string rowLabels(HWND dialog) {
    std::string labels;
    for (int row = 0; HWND label = childById(dialog, ids::lblFieldFirst + row); ++row)
        labels += "[" + windowText(label) + "]";
    return labels;
}

TEST(Fields, ValuesGivenInTheDialogAreTypedAndTheListKeepsTheFields) {
    Session s;
    runningPrompt(s);
    s.click(ids::chbAdd);
    const std::string command = "echo {{greeting}}, {{name}}> {{file}}& echo {{name}}>> {{file}}";
    HWND dialog = openValues(s, ids::cmdSendAndDo, command);
    ASSERT_NE(dialog, nullptr) << s.report();
    EXPECT_EQ(rowLabels(dialog), "[greeting][name][file]");  // once each, in order
    EXPECT_EQ(windowText(valueBox(dialog, 0)), "");
    EXPECT_TRUE(pollUntil([&] { return focusOf(dialog) == valueBox(dialog, 0); }, kEffectTimeout))
        << "the focus is on control " << GetDlgCtrlID(focusOf(dialog)) << ", not on the first row";
    setWindowText(valueBox(dialog, 0), "Hello");
    setWindowText(valueBox(dialog, 1), "Taro Yamada");
    setWindowText(valueBox(dialog, 2), "挨拶.txt");
    postKeyTo(valueBox(dialog, 0), VK_RETURN);  // Enter presses OK
    EXPECT_TRUE(waitForWindowGone(dialog)) << s.report();
    EXPECT_TRUE(fileHolds(s, L"挨拶.txt", "Hello, Taro Yamada\r\nTaro Yamada\r\n"));
    EXPECT_TRUE(boxHolds(s, ""));
    EXPECT_TRUE(buttonsEnabled(s));
    EXPECT_EQ(s.listItems(ids::lstCommand), std::vector<std::string>{command});

    // Enter (input only) asks again, each row starting with the value given last; Esc cancels
    // and nothing is typed: the next line runs on a line of its own.
    s.setText(ids::txtCommand, command);
    s.postKey(ids::txtCommand, VK_RETURN);
    dialog = waitForWindowOf(s.pid(), widen(captions::FieldValues));
    ASSERT_NE(dialog, nullptr) << s.report();
    EXPECT_EQ(windowText(valueBox(dialog, 1)), "Taro Yamada");
    postKeyTo(valueBox(dialog, 1), VK_ESCAPE);
    EXPECT_TRUE(waitForWindowGone(dialog)) << s.report();
    EXPECT_TRUE(boxHolds(s, command));
    EXPECT_TRUE(buttonsEnabled(s));
    ASSERT_TRUE(execute(s, "echo after> after.txt"));
    EXPECT_TRUE(fileHolds(s, L"after.txt", "after\r\n"));
    EXPECT_EQ(s.listItems(ids::lstCommand).size(), 2u);  // the cancelled text was not added
}

TEST(Fields, AnAlternativesFieldOffersItsChoicesFirstOneChosen) {
    SessionOptions options;
    options.beforeStart = [](const std::wstring& folder) {
        writeBytes(folder + L"\\a.txt", "a");
        writeBytes(folder + L"\\b.txt", "b");
    };
    Session s(options);
    runningPrompt(s);
    const std::string command = "dir /b {{[/o:n|/o:-n]}} *.txt> {{listing}}";
    HWND dialog = openValues(s, ids::cmdSendAndDo, command);
    ASSERT_NE(dialog, nullptr) << s.report();
    EXPECT_EQ(rowLabels(dialog), "[[/o:n|/o:-n]][listing]");
    HWND choices = valueBox(dialog, 0);
    EXPECT_EQ(windowClass(choices), L"ComboBox");
    EXPECT_EQ(sendTo(choices, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(windowText(choices), "/o:n");
    setWindowText(valueBox(dialog, 1), "names.log");
    clickChild(dialog, ids::cmdFieldsOk);
    EXPECT_TRUE(fileHolds(s, L"names.log", "a.txt\r\nb.txt\r\n"));

    // The other choice, picked from the list.
    dialog = openValues(s, ids::cmdSendAndDo, command);
    ASSERT_NE(dialog, nullptr) << s.report();
    choices = valueBox(dialog, 0);
    sendTo(choices, CB_SETCURSEL, 1, 0);
    setWindowText(valueBox(dialog, 1), "reversed.log");
    clickChild(dialog, ids::cmdFieldsOk);
    EXPECT_TRUE(fileHolds(s, L"reversed.log", "b.txt\r\na.txt\r\n"));
}

TEST(Fields, PlaceholdersZeroTypesEveryTextAsWritten) {
    SessionOptions options;
    options.beforeStart = [](const std::wstring& folder) {
        writeBytes(folder + L"\\Tavimero.ini", "[Tavimero]\r\nPlaceholders=0\r\n");
    };
    Session s(options);
    runningPrompt(s);
    ASSERT_TRUE(execute(s, "echo {{name}} \\{\\{x\\}\\}> raw.txt"));
    EXPECT_TRUE(fileHolds(s, L"raw.txt", "{{name}} \\{\\{x\\}\\}\r\n"));
    EXPECT_TRUE(windowsOf(s.pid(), widen(captions::FieldValues)).empty());
    post(s.window(), WM_CLOSE);
    ASSERT_TRUE(waitForEnd(s.process(), kEffectTimeout));
    EXPECT_NE(s.readFile(L"Tavimero.ini").value_or("").find("\r\nPlaceholders=0\r\n"),
              std::string::npos);
}

}  // namespace
}  // namespace e2e
