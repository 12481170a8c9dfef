// The uninstall command: written by one run into the uninstall entry, parsed back by the next.
#pragma once

// "rundll32.exe setupapi.dll,InstallHinfSection Uninstall_TNP 128 <shortDir>tnp.inf".
bool BuildUninstallCommand(char *out, int capacity, const char *shortInstallDir);
// The same without "rundll32.exe ", for the uninstall shortcut's arguments.
bool BuildUninstallArguments(char *out, int capacity, const char *shortInstallDir);

// Derives the existing-copy directory from an "UninstallString" text: everything after the last
// space (searched from the end down to position 1), cut at its last backslash (position 1 or
// later). Anything that does not yield such a directory, and a text after the last space that
// would not fit `capacity`, gives the empty string.
void ParseUninstallString(const char *value, char *directory, int capacity);
