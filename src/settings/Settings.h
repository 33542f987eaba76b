#pragma once
#include <cstdint>
#include <string>

#include "platform/Profile.h"
#include "text/Product.h"

// The settings file Tavimero.ini beside the program, section "Tavimero".
namespace settings {

constexpr const char* Section = product::Name;
// The main window's outer size, in twips, when the settings name none.
constexpr int DefaultWidth = 4575;
constexpr int DefaultHeight = 6210;

// The settings file's path for the program folder (with or without its trailing backslash).
std::string SettingsFilePath(const std::string& programFolder);

// Every key as read at start-up, with its default when the file or the key is missing.
struct Values {
    bool AddListMain = false;
    bool AddListDirectory = false;
    std::int16_t DoDirectory = 0;
    bool CloseDos = false;
    std::string CD;
    std::int16_t EnterKey = 0;
    double Width = DefaultWidth;
    double Height = DefaultHeight;
    bool LoadList = false;
    std::string PathOfList;  // read only when LoadList is set
    // Fields in a command are asked for before it is input; "0" inputs every text as written.
    bool Placeholders = true;
};

Values Read(Profile& profile, const std::string& path);

// Writes the keys of the close, in this order: AddListMain, AddListDirectory, DoDirectory,
// CloseDos, CD, EnterKey, Width, Height (whole twips), Placeholders. LoadList and PathOfList
// are not written.
void Write(Profile& profile, const std::string& path, const Values& values);

// The two keys of the options dialog, read and written at once.
bool ReadLoadList(Profile& profile, const std::string& path);
std::string ReadPathOfList(Profile& profile, const std::string& path);
void WriteListAtStartup(Profile& profile, const std::string& path, bool loadList, const std::string& pathOfList);

// The writers stop at the first key that cannot be written (PlatformError), so a failure is
// reported once, with this message: the file's path and the system's reason.
std::string WriteFailedMessage(const std::string& path, const std::string& reason);

}  // namespace settings
