#pragma once

// Control, menu and toolbar ids of every window. The end-to-end tests include this header to
// find the controls they work with, so an id never changes meaning.
namespace ids {

// frmDosLaunch
constexpr int txtCD = 1001;
constexpr int lstCommand = 1002;
constexpr int txtCommand = 1003;
constexpr int fraButtons = 1004;
constexpr int chbAdd = 1005;
constexpr int cmdSend = 1006;
constexpr int cmdSendAndDo = 1007;
constexpr int cmdCleaer = 1008;

}  // namespace ids

// Window captions the program and its tests find windows by.
namespace captions {
constexpr const char* MainWindow = "Tavimero";
}
