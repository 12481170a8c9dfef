#include "link_folders.h"
#include <windows.h>
#include <shlobj.h>
#include "shell_folder.h"
#include "../setup/folders.h"

typedef bool (*ComposeFolder)(char *out, int capacity, const char *windowsDir, bool ntLayout);

static void FindLinkFolder(LinkFolder &folder, int commonCsidl, int userCsidl, ComposeFolder compose,
                           bool ntLayout)
{
    // The first Windows 95 names no common folders; a shell without profiles may name neither.
    const int csidls[2] = {commonCsidl, userCsidl};
    for (int i = 0; i < 2; ++i)
        if (GetSpecialFolderPath(csidls[i], folder.path)) {
            folder.csidl = csidls[i];
            return;
        }
    char windowsDir[TNP_TEXT_CAPACITY] = "";
    GetWindowsDirectoryA(windowsDir, TNP_PATH_CAPACITY);
    compose(folder.path, sizeof folder.path, windowsDir, ntLayout);
    folder.csidl = 0;
}

void FindLinkFolders(LinkFolders &folders, bool ntLayout)
{
    FindLinkFolder(folders.programs, CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS, BuildComposedProgramsFolder, ntLayout);
    FindLinkFolder(folders.desktop, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_DESKTOPDIRECTORY,
                   BuildComposedDesktopFolder, ntLayout);
}
