#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/PromptWindow.h"
#include "prompt/PromptWindowWatch.h"

namespace {

// A desktop of a few windows. Asking about a window it does not hold fails the test, as the
// real calls would answer nothing useful for it.
class FakeDesktopWindows : public DesktopWindows {
public:
    struct Window {
        std::string className;
        WindowRef owner = 0;
        bool visible = true;
        bool own = false;  // one of this program's
    };
    std::string className(WindowRef window) override { return at(window).className; }
    WindowRef rootOwner(WindowRef window) override {
        WindowRef top = window;
        for (int depth = 0; at(top).owner && depth < 8; ++depth) top = at(top).owner;
        return top;
    }
    bool isVisible(WindowRef window) override { return at(window).visible; }
    WindowRef foreground() override { return active; }
    bool isOwnWindow(WindowRef window) override { return at(window).own; }
    void placeBehind(WindowRef window, WindowRef above) override {
        at(window);
        actions.push_back("behind " + std::to_string(window) + " " + std::to_string(above));
    }
    void bringToFront(WindowRef window) override {
        at(window);
        actions.push_back("front " + std::to_string(window));
    }

    std::map<WindowRef, Window> windows;
    WindowRef active = 0;
    std::vector<std::string> actions;

private:
    Window& at(WindowRef window) {
        auto found = windows.find(window);
        if (found == windows.end()) {
            ADD_FAILURE() << "unknown window " << window;
            static Window none;
            return none;
        }
        return found->second;
    }
};

constexpr WindowRef Main = 1;      // the program's main window
constexpr WindowRef Console = 2;   // a console window of its own
constexpr WindowRef Pseudo = 3;    // a terminal's stand-in for the console
constexpr WindowRef Terminal = 4;  // the terminal's window
constexpr WindowRef Other = 5;     // another program's window

// The program's main window, another program's window, and the prompt's console: a console
// window of its own, or a stand-in owned by a terminal's window, or a stand-in with no owner.
enum class Host { ConsoleWindow, TerminalOwned, TerminalUnowned };

FakeDesktopWindows DesktopWith(Host host) {
    FakeDesktopWindows desktop;
    desktop.windows[Main] = {"frmDosLaunch", 0, true, true};
    desktop.windows[Other] = {"Notepad", 0, true, false};
    desktop.windows[Console] = {"ConsoleWindowClass", 0, true, false};
    desktop.windows[Terminal] = {"CASCADIA_HOSTING_WINDOW_CLASS", 0, true, false};
    desktop.windows[Pseudo] = {kPseudoConsoleClass, host == Host::TerminalOwned ? Terminal : 0,
                               false, false};
    return desktop;
}

WindowRef ConsoleOf(Host host) { return host == Host::ConsoleWindow ? Console : Pseudo; }

TEST(PromptWindowTest, TheWindowThatShowsTheConsoleComesForwardAndAStandInNeverMoves) {
    struct Case {
        const char* what;
        Host host;
        WindowRef active;
        std::vector<std::string> actions;
    } cases[] = {
        {"console window, program active", Host::ConsoleWindow, Main, {"behind 2 1"}},
        {"console window, another program active", Host::ConsoleWindow, Other, {"front 2"}},
        {"console window, nothing active", Host::ConsoleWindow, 0, {"front 2"}},
        {"console window already active", Host::ConsoleWindow, Console, {}},
        {"terminal, program active", Host::TerminalOwned, Main, {"behind 4 1"}},
        {"terminal, another program active", Host::TerminalOwned, Other, {"front 4"}},
        {"stand-in without owner", Host::TerminalUnowned, Main, {}},
        {"stand-in without owner, another active", Host::TerminalUnowned, Other, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeDesktopWindows desktop = DesktopWith(c.host);
        desktop.active = c.active;
        BringPromptWindowForward(desktop, ConsoleOf(c.host));
        EXPECT_EQ(desktop.actions, c.actions);
    }
}

TEST(PromptWindowTest, TheTopOfTheOwnersShowsAStandInAndNothingShowsAMissingConsole) {
    FakeDesktopWindows desktop = DesktopWith(Host::TerminalOwned);
    // A terminal whose window is itself owned: the window at the top is the one to act on.
    desktop.windows[Pseudo].owner = 6;
    desktop.windows[6] = {"TerminalTab", Terminal, true, false};
    EXPECT_EQ(PromptWindowOf(desktop, Pseudo), Terminal);
    EXPECT_EQ(PromptWindowOf(desktop, Console), Console);
    EXPECT_EQ(PromptWindowOf(desktop, 0), 0u);
    desktop.active = Main;
    BringPromptWindowForward(desktop, 0);
    EXPECT_TRUE(desktop.actions.empty());
}

TEST(PromptWindowTest, StateOfTheWindowThatShowsANewPrompt) {
    struct Case {
        const char* what;
        Host host;
        bool shown;  // the console window, or the terminal's
        WindowRef active;
        PromptWindowState state;
    } cases[] = {
        {"console window beside", Host::ConsoleWindow, true, Main, PromptWindowState::Beside},
        {"console window active", Host::ConsoleWindow, true, Console, PromptWindowState::Active},
        {"console window not yet shown", Host::ConsoleWindow, false, Main,
         PromptWindowState::NotShown},
        {"terminal took the activation", Host::TerminalOwned, true, Terminal,
         PromptWindowState::Active},
        {"terminal beside another program", Host::TerminalOwned, true, Other,
         PromptWindowState::Beside},
        {"terminal not yet shown", Host::TerminalOwned, false, Main, PromptWindowState::NotShown},
        {"stand-in without owner", Host::TerminalUnowned, true, Main, PromptWindowState::NotShown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeDesktopWindows desktop = DesktopWith(c.host);
        desktop.windows[Console].visible = c.shown;
        desktop.windows[Terminal].visible = c.shown;
        desktop.active = c.active;
        EXPECT_EQ(StateOfPromptWindow(desktop, ConsoleOf(c.host)), c.state);
        EXPECT_TRUE(desktop.actions.empty());
    }
}

TEST(PromptWindowWatchTest, TakesTheActivationBackUntilTheWindowStaysBesideOrTimeIsUp) {
    using S = PromptWindowState;
    struct Look {
        S state;
        bool takeBack;
        bool watchingAfter;
    };
    struct Case {
        const char* what;
        std::vector<Look> looks;  // 300 ms apart
    } cases[] = {
        {"a console window that opens beside",
         {{S::Beside, false, true}, {S::Beside, false, false}}},
        {"a terminal that opens late and takes the activation",
         {{S::NotShown, false, true},
          {S::NotShown, false, true},
          {S::Active, true, true},
          {S::Beside, false, true},
          {S::Beside, false, false}}},
        {"a terminal that takes it twice",
         {{S::Active, true, true},
          {S::Beside, false, true},
          {S::Active, true, true},
          {S::Beside, false, true},
          {S::Beside, false, false}}},
        {"a window that never shows",
         {{S::NotShown, false, true},
          {S::NotShown, false, true},
          {S::NotShown, false, true},
          {S::NotShown, false, true},
          {S::NotShown, false, true},
          {S::NotShown, false, true},
          {S::NotShown, false, true},
          {S::NotShown, false, true},
          {S::NotShown, false, true},
          {S::NotShown, false, false},
          {S::Active, false, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PromptWindowWatch watch;
        EXPECT_FALSE(watch.Watching());
        watch.Start();
        int n = 0;
        for (const Look& look : c.looks) {
            SCOPED_TRACE(++n);
            EXPECT_EQ(watch.Look(look.state, 300), look.takeBack);
            EXPECT_EQ(watch.Watching(), look.watchingAfter);
        }
    }
}

}  // namespace
