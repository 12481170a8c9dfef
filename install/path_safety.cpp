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
    GetProgramFilesFolder(folder, sizeof folder);
    if (folder[0] == '\0')
        return -1;
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
    int length = lstrlenA(installDir), start = IndexBelowProgramFolder(installDir);
    bool inProgramFolder = start > 0;
    if (!inProgramFolder)
        start = 3;  // below the drive's root, "X:\"
    char folder[TNP_PATH_CAPACITY];
    lstrcpynA(folder, installDir, start + 1);
    bool last = start >= length;
    if ((!inProgramFolder || last) && LetsOthersReplaceAt(security, folder, last ? PATH_SHARED_INSTALL_FOLDER : PATH_DRIVE_ROOT))
        return RefuseOpenFolder(folder);
    int end = NextComponentEnd(installDir, start - 1, SystemLeadByte);
    security.newFolders = inProgramFolder && end + 1 >= length ? NULL : security.closed;
    for (end = start - 1; end + 1 < length;) {
        end = NextComponentEnd(installDir, end, SystemLeadByte);
        lstrcpynA(folder, installDir, end + 1);
        if (GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES)
            break;  // setup makes it, and what lies below it, closed
        if (LetsOthersReplaceAt(security, folder, end + 1 >= length ? PATH_INSTALL_FOLDER : PATH_ABOVE))
            return RefuseOpenFolder(folder);
    }
    return true;
}
