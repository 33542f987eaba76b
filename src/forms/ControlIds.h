#pragma once
#include "text/Product.h"

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
constexpr int tmrDosDirectory = 1011;

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

// frmOption
constexpr int chbLoad = 4001;
constexpr int txtPath = 4002;
constexpr int cmdOpen = 4003;
constexpr int chbClose = 4004;
constexpr int Frame2 = 4005;
constexpr int optSend = 4006;
constexpr int optDo = 4007;
constexpr int cmdOptionOk = 4008;
constexpr int cmdOptionCancel = 4009;

// frmDirectory
constexpr int drvChange = 5001;
constexpr int dirChange = 5002;
constexpr int filChange = 5003;
constexpr int Frame1 = 5004;
constexpr int optCD = 5005;
constexpr int optPath = 5006;
constexpr int OptFileName = 5007;
constexpr int cmdDirectoryOk = 5008;
constexpr int cmdDirectoryCancel = 5009;
constexpr int chbAddDirectory = 5010;

// frmFieldValues: one row per field, numbered from 0; a row's value box is a text box or, for a
// field with alternatives, an editable combo box, with the same id.
constexpr int fraFieldRows = 8001;
constexpr int cmdFieldsOk = 8002;
constexpr int cmdFieldsCancel = 8003;
constexpr int MostFieldRows = 1000;
constexpr int lblFieldFirst = 10000;  // + row
constexpr int txtFieldFirst = 20000;  // + row

// frmAbout
constexpr int lblAbout = 3001;
constexpr int lblInfo = 3002;
constexpr int cmdAboutOk = 3003;

}  // namespace ids
