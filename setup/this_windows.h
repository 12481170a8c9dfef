// Which Windows this is, as far as an installation depends on it: its family, whether this
// 32-bit program runs under WoW64 on 64-bit Windows, and the folders the system names.
#pragma once

typedef void (*AnyFunction)(void);  // the type any function pointer converts through

// A function of kernel32 that not every Windows has (Windows 95 lacks most of the later ones),
// looked up rather than imported; NULL where this Windows has none.
AnyFunction FindKernelFunction(const char *name);

// True on Windows NT, false on the Windows 95 family.
bool DetectNtLayout();

// True on Windows NT 6.0 (Vista) and later, where a program started by the user runs with the
// user's unelevated token unless its link asks for administrator rights; earlier Windows would
// open a credentials dialog at every start of such a link instead.
bool LinksAskForElevation();

// Under WoW64, the system's folder of 32-bit programs (SysWOW64), whose INF engine works in the
// registry view this program writes; false, with `folder` empty, on 32-bit Windows.
bool GetWow64SystemFolder(char *folder, int capacity);

// The program folder the system names to this program ("ProgramFilesDir", in this program's own
// registry view: the 32-bit programs' folder under WoW64); empty when it names none as a string.
void GetProgramFilesFolder(char *folder, int capacity);

// True when the tool directory holds the Windows CD Player (Windows 95 to 2000 have it, later
// ones don't), in this program's own view of the folder.
bool ToolDirectoryHasCdPlayer(bool ntLayout);
