#pragma once
#include <string>

// Facts about the running program and its system.
class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    // dwPlatformId of the ANSI version query: 1 the 9x family, 2 the NT family.
    virtual unsigned long platformId() = 0;
    // The folder of the program file, ending in a backslash only at a drive root (C:\).
    virtual std::string programFolder() = 0;
    // The program's command-line argument: the whole text after the program name, unaltered.
    virtual std::string commandLine() = 0;
    // Claims this program's single-instance token for the user's session. False when another
    // instance holds it already.
    virtual bool claimSingleInstance() = 0;
    // Whether cmd.exe started without a /V switch has delayed expansion (!NAME!) on: the user's
    // DelayedExpansion setting of the command processor where there is one, else the machine's.
    virtual bool promptDelayedExpansion() = 0;
};
