#pragma once

// The product's name and the texts that name its windows, used wherever the program or its tests
// need them.
namespace product {
// The main window's caption, the settings file's name and its section.
constexpr const char* Name = "Tavimero";
constexpr const char* VersionCaption = "Tavimero Ver. 1.01";
constexpr const char* HomePage = "https://www.tavimero.example/";
constexpr const char* HelpFileName = "help.html";
}  // namespace product

// Window captions and the title of error messages.
namespace captions {
constexpr const char* MainWindow = product::Name;
constexpr const char* About = "バージョン情報";
constexpr const char* Options = "環境設定";
constexpr const char* DirectoryBrowser = "ディレクトリ　ブラウザ - Tavimero";
constexpr const char* Error = "エラー";
constexpr const char* FieldValues = "値の入力";
}  // namespace captions
