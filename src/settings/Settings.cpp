#include "settings/Settings.h"

#include <cmath>

#include "settings/NumberReading.h"
#include "text/Path.h"

namespace settings {

namespace {
std::string Get(Profile& profile, const std::string& path, const char* key, const char* defaultValue) {
    return profile.getString(Section, key, defaultValue, path);
}
const char* YesNo(bool on) { return on ? "Yes" : "No"; }
}  // namespace

std::string SettingsFilePath(const std::string& programFolder) {
    return path::WithTrailingBackslash(programFolder) + product::Name + ".ini";
}

Values Read(Profile& profile, const std::string& path) {
    Values values;
    values.AddListMain = Get(profile, path, "AddListMain", "No") == "Yes";
    values.AddListDirectory = Get(profile, path, "AddListDirectory", "No") == "Yes";
    values.DoDirectory = numbers::ValToInt16(Get(profile, path, "DoDirectory", "0"));
    values.CloseDos = Get(profile, path, "CloseDos", "No") == "Close";
    values.CD = Get(profile, path, "CD", "");
    values.EnterKey = numbers::ValToInt16(Get(profile, path, "EnterKey", "0"));
    const std::string width = std::to_string(DefaultWidth);
    const std::string height = std::to_string(DefaultHeight);
    values.Width = static_cast<float>(numbers::Val(Get(profile, path, "Width", width.c_str())));
    values.Height = static_cast<float>(numbers::Val(Get(profile, path, "Height", height.c_str())));
    values.Placeholders = Get(profile, path, "Placeholders", "1") != "0";
    values.LoadList = ReadLoadList(profile, path);
    if (values.LoadList) values.PathOfList = ReadPathOfList(profile, path);
    return values;
}

void Write(Profile& profile, const std::string& path, const Values& values) {
    profile.setString(Section, "AddListMain", YesNo(values.AddListMain), path);
    profile.setString(Section, "AddListDirectory", YesNo(values.AddListDirectory), path);
    const char* action = values.DoDirectory == 0 ? "0" : values.DoDirectory == 1 ? "1" : "2";
    profile.setString(Section, "DoDirectory", action, path);
    profile.setString(Section, "CloseDos", values.CloseDos ? "Close" : "No", path);
    profile.setString(Section, "CD", values.CD, path);
    profile.setString(Section, "EnterKey", std::to_string(values.EnterKey), path);
    profile.setString(Section, "Width", std::to_string(std::lround(values.Width)), path);
    profile.setString(Section, "Height", std::to_string(std::lround(values.Height)), path);
    profile.setString(Section, "Placeholders", values.Placeholders ? "1" : "0", path);
}

bool ReadLoadList(Profile& profile, const std::string& path) { return Get(profile, path, "LoadList", "No") == "Yes"; }

std::string ReadPathOfList(Profile& profile, const std::string& path) {
    return Get(profile, path, "PathOfList", "");
}

void WriteListAtStartup(Profile& profile, const std::string& path, bool loadList, const std::string& pathOfList) {
    profile.setString(Section, "LoadList", YesNo(loadList), path);
    profile.setString(Section, "PathOfList", pathOfList, path);
}

std::string WriteFailedMessage(const std::string& path, const std::string& reason) {
    return path + "に設定を保存できませんでした。\r\n" + reason;
}

}  // namespace settings
