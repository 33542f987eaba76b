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
constexpr int tlbDos = 1009;
constexpr int tmrCD = 1010;

// frmDosLaunch menu items
constexpr int mnuNew = 2001;
constexpr int mnuOpen = 2002;
constexpr int mnuAddAnother = 2003;
constexpr int mnuSave = 2004;
constexpr int mnuSaveAs = 2005;
constexpr int mnuExit = 2006;
constexpr int mnuUndo = 2011;
constexpr int mnuRedo = 2012;
constexpr int mnuCut = 2013;
constexpr int mnuCopy = 2014;
constexpr int mnuPaste = 2015;
constexpr int mnuDelete = 2016;
constexpr int cmdMove = 2021;
constexpr int mnuSetting = 2022;
constexpr int mnuViewHelp = 2031;
constexpr int mnuAbout = 2032;
constexpr int mnuSite = 2033;

// frmAbout
constexpr int lblAbout = 3001;
constexpr int lblInfo = 3002;
constexpr int cmdAboutOk = 3003;

}  // namespace ids

// Window captions the program and its tests find windows by.
namespace captions {
constexpr const char* MainWindow = "Tavimero";
constexpr const char* About = "バージョン情報";
}
