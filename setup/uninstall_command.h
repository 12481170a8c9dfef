// The uninstall command: written by one run into the uninstall entry, parsed back by the next.
#pragma once
#include "path_chars.h"

// "rundll32.exe setupapi.dll,InstallHinfSection Uninstall_TNP 128 <shortDir>tnp.inf"; under WoW64
// the runner is named by its path in the system's WoW64 folder (`wow64Folder`, empty elsewhere),
// since 64-bit Windows would start its 64-bit rundll32.exe by the bare name.
bool BuildUninstallCommand(char *out, int capacity, const char *wow64Folder, const char *shortInstallDir);
// The same without "rundll32.exe ", for the uninstall shortcut's arguments.
bool BuildUninstallArguments(char *out, int capacity, const char *shortInstallDir);

// Derives the existing-copy directory from an "UninstallString" text: the script's path, cut at
// its last backslash (position 1 or later). In this product's own command, whose runner is
// "rundll32.exe" by name or by a path, the path is everything after "... Uninstall_TNP 128 "; in
// any other text it is everything after the last space
// (position 1 or later). Spaces and backslashes count only where a character starts. Anything
// that does not yield such a directory, and a path that would not fit `capacity`, gives the
// empty string.
void ParseUninstallString(const char *value, char *directory, int capacity, LeadByteRule isLead);
