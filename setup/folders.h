// Where the product's shortcuts and the tools its uninstall runs live, as pure functions of the
// Windows directory (no trailing backslash) and the NT layout flag. Each writes a NUL-terminated
// text into `out` and returns false, leaving `out` empty, when the text would not fit `capacity`.
#pragma once
#include "path_chars.h"

bool IsNtLayout(unsigned long platformId);

bool BuildProgramGroupFolder(char *out, int capacity, const char *windowsDir, bool ntLayout);
bool BuildProgramGroupTarget(char *out, int capacity, const char *windowsDir, bool ntLayout);
bool BuildDesktopLinkFile(char *out, int capacity, const char *windowsDir, bool ntLayout);
bool BuildRundll32Path(char *out, int capacity, const char *windowsDir, bool ntLayout);

// The install directory proposed for a folder picked in the shell's browser: the product's
// folder one level below it. A drive root such as "C:\" already ends with its backslash.
bool BuildBrowsedInstallDirectory(char *out, int capacity, const char *pickedFolder, LeadByteRule isLead);
