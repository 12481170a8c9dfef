#include "path_safety.h"
#include "path_rules.h"
#include "../setup/product.h"

static bool LetsOthersReplaceAt(const FolderSecurity &security, const char *folder, int place)
{
    DWORD descriptor[256];  // one that doesn't fit counts as open: it could not be judged
    unsigned size = ReadDescriptor(security, folder, descriptor, sizeof descriptor);
    return LetsOthersReplace(GetFileAttributesA(folder), (const unsigned char *)descriptor, size, security.user,
                             security.powerUsersTrusted, place);
}

// The index below the program folder, named long or short (as an uninstall entry names it), or
// -1 when the install directory does not lie in it.
static int IndexBelowProgramFolder(const char *installDir)
{
    char folder[TNP_PATH_CAPACITY], shortFolder[TNP_PATH_CAPACITY];
    GetProgramFilesFolder(folder, sizeof folder);  // empty where the system names none: nothing lies in it
    int below = IndexBelowFolder(installDir, folder, SystemLeadByte);
    DWORD length = GetShortPathNameA(folder, shortFolder, sizeof shortFolder);
    if (below < 0 && length != 0 && length < sizeof shortFolder)
        below = IndexBelowFolder(installDir, shortFolder, SystemLeadByte);
    return below;
}

bool PathClosedToOthers(FolderSecurity &security, const char *installDir)
{
    if (!security.judged)
        return true;
    int length = lstrlenA(installDir), below = IndexBelowProgramFolder(installDir);
    security.newFolders = below > 0 ? NULL : security.closed;
    // The folder the walk starts at, with its backslash ("D:\"), then each below it without.
    int end = below > 0 ? below - 1 : 2, place = below > 0 ? PATH_PROGRAM_FOLDER : PATH_DRIVE_ROOT;
    char folder[TNP_PATH_CAPACITY];
    for (int copied = end + 1;; copied = end, place = PATH_ABOVE) {
        lstrcpynA(folder, installDir, copied + 1);
        bool last = end + 1 >= length;
        if (GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES)
            return true;  // setup makes it, and what lies below it
        if (LetsOthersReplaceAt(security, folder, place + last))
            return RefuseOpenFolder(folder);
        if (last)
            return true;
        end = NextComponentEnd(installDir, end, SystemLeadByte);
    }
}
