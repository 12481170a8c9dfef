#pragma once
#include <windows.h>

// Registers the uninstall entry whose command runs tnp.inf in `installDir` (ending with a
// backslash), with what Add/Remove Programs shows of the product: its icon, version, folder and
// size in kilobytes. A failure is reported to the user.
void RegisterUninstallEntry(const char *installDir, DWORD sizeKilobytes);
