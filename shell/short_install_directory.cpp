#include "short_install_directory.h"
#include <windows.h>

void GetShortInstallDirectory(const char *installDir, char *out, int capacity)
{
    DWORD length = GetShortPathNameA(installDir, out, (DWORD)capacity);
    if (length == 0 || length >= (DWORD)capacity)
        lstrcpynA(out, installDir, capacity);
}
