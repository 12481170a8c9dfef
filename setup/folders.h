// Where the product's shortcuts and the tools its uninstall runs live, as pure functions of the
// Windows directory (no trailing backslash) and the NT layout flag, or of the Programs and Desktop
// folders the shortcuts go to. Each writes a NUL-terminated text into `out` and returns false,
// leaving `out` empty, when the text would not fit `capacity`.
#pragma once
#include "path_chars.h"

bool IsNtLayout(unsigned long platformId);

// The Programs and Desktop folders as English Windows 95 and NT 4 lay them out, for a shell
// that names none.
bool BuildComposedProgramsFolder(char *out, int capacity, const char *windowsDir, bool ntLayout);
bool BuildComposedDesktopFolder(char *out, int capacity, const char *windowsDir, bool ntLayout);

// The program group in a Programs folder, ending with a backslash; the desktop link in a Desktop
// folder.
bool BuildProgramGroupFolder(char *out, int capacity, const char *programsFolder, LeadByteRule isLead);
bool BuildDesktopLinkFile(char *out, int capacity, const char *desktopFolder, LeadByteRule isLead);
// The tool directory below the Windows directory: "\system32" on NT, none on the 95 family.
const char *ToolSubdirectory(bool ntLayout);
// A program of the tool directory, such as "rundll32.exe" or "cdplayer.exe".
bool BuildToolPath(char *out, int capacity, const char *windowsDir, bool ntLayout, const char *program);
// The rundll32.exe that runs the uninstall from its link: the tool directory's, or under WoW64
// the one in the system's WoW64 folder (`wow64Folder`, empty elsewhere).
bool BuildUninstallRunnerPath(char *out, int capacity, const char *windowsDir, bool ntLayout, const char *wow64Folder);

// The install directory proposed for a folder picked in the shell's browser: the product's
// folder one level below it. A drive root such as "C:\" already ends with its backslash.
bool BuildBrowsedInstallDirectory(char *out, int capacity, const char *pickedFolder, LeadByteRule isLead);

// The install directory proposed when no earlier copy is known: the product's folder in the
// program folder the system names (empty when it names none). Where that is "C:\Program Files"
// in any case, or leaves no room for the product's folder, the text it has always been.
void BuildDefaultInstallDirectory(char *out, int capacity, const char *programFilesFolder, LeadByteRule isLead);
