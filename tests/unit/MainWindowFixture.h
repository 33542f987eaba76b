#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "tests/fakes/FakePlatform.h"
#include "forms/frmDosLaunch.h"

// Start-up as the program runs it: load, show, then the message loop's first turn.
inline void StartUp(frmDosLaunch& main, FakePlatform& platform) {
    main.Form_Load();
    if (!main.StartedOk()) return;
    main.Show();
    platform.forms.created.front()->runMessageLoop();
}

// A main window on fake platform services, its controls reachable by name.
class MainWindowTest : public ::testing::Test {
protected:
    void Load() {
        window = std::make_unique<frmDosLaunch>(fake.platform, shared);
        StartUp(*window, fake);
    }
    FakeForm& form() { return *fake.forms.created.front(); }
    FakeTextBox& txtCommand() { return form().get<FakeTextBox>("txtCommand"); }
    FakeTextBox& txtCD() { return form().get<FakeTextBox>("txtCD"); }
    FakeListBox& lstCommand() { return form().get<FakeListBox>("lstCommand"); }
    FakeCheckBox& chbAdd() { return form().get<FakeCheckBox>("chbAdd"); }
    FakeButton& cmdSend() { return form().get<FakeButton>("cmdSend"); }
    FakeButton& cmdSendAndDo() { return form().get<FakeButton>("cmdSendAndDo"); }
    FakeButton& cmdCleaer() { return form().get<FakeButton>("cmdCleaer"); }

    // Types text into the command box and presses a button.
    void Input(const std::string& text) {
        txtCommand().setText(text);
        cmdSend().click();
    }
    void Execute(const std::string& text) {
        txtCommand().setText(text);
        cmdSendAndDo().click();
    }
    // A key of the settings file the window reads at start-up.
    void Setting(const std::string& key, const std::string& value) { SetIn(fake, key, value); }
    static void SetIn(FakePlatform& platform, const std::string& key, const std::string& value) {
        platform.profile.setString("Tavimero", key, value, platform.system.folder + "\\Tavimero.ini");
    }
    bool ButtonsEnabled() { return cmdSend().enabled() && cmdSendAndDo().enabled(); }
    std::size_t StartCount() { return fake.launcher.started.size(); }

    FakePlatform fake;
    mdlDos shared;
    std::unique_ptr<frmDosLaunch> window;
};
