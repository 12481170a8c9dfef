#include "install_proposal.h"
#include <windows.h>
#include "../setup/folders.h"
#include "../setup/globals.h"
#include "../setup/this_windows.h"

// Either of the last two leaves room for the backslash the install directory ends with. An
// entry's directory deleted by hand leaves a short name that names nothing, and OK would make a
// folder of that very name.
void ProposeInstallDirectory(char *proposal)
{
    if (g_switches.directory[0] != '\0') {
        lstrcpyA(proposal, g_switches.directory);
        return;
    }
    if (g_existingCopyDirectory[0] != '\0' && GetFileAttributesA(g_existingCopyDirectory) != INVALID_FILE_ATTRIBUTES) {
        lstrcpyA(proposal, g_existingCopyDirectory);
        return;
    }
    char programFiles[TNP_TEXT_CAPACITY];
    GetProgramFilesFolder(programFiles, sizeof programFiles);
    BuildDefaultInstallDirectory(proposal, TNP_PATH_CAPACITY - 1, programFiles, SystemLeadByte);
}
