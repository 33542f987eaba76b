#pragma once

// Facts about the product shown in its windows.
namespace product {
constexpr const char* Name = "Tavimero";
constexpr const char* VersionCaption = "Tavimero Ver. 1.01";
constexpr const char* HomePage = "https://www.tavimero.example/";
constexpr const char* HelpFileName = "help.html";
}  // namespace product
