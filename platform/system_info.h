#pragma once

#include <QString>

// What the program asked the operating system about itself and the machine.

// The absolute path of the running program file (symbolic links resolved).
QString ProgramFilePath();

// The logon name as the registry gave it ("Logon User Name" of the user's Explorer key): the
// value of the registry store when it has one, else the Unix user name. Uncleaned.
QString LogonName();

// The short host name, replaced by the registry value "ComputerName" of
// HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\ComputerName\ComputerName when the
// registry store has it.
QString ComputerName();

// The Windows version class; the program behaves as on Windows Vista or later, which is 0.
inline int WindowsVersion() { return 0; }

inline constexpr char kLogonUserKey[] =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
inline constexpr char kLogonUserValue[] = "Logon User Name";
inline constexpr char kComputerNameKey[] =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName";
inline constexpr char kComputerNameValue[] = "ComputerName";
