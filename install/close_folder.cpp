#include "close_folder.h"
#include "../setup/product.h"

// A file that is the only name of its data: a hard link would carry the closing to a file of
// another folder, of the system's or of another user's.
static bool HasOneName(const char *path)
{
    HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION information;
    bool one = GetFileInformationByHandle(file, &information) && information.nNumberOfLinks == 1;
    CloseHandle(file);
    return one;
}

// Gives everything in the folder `path` (`length` characters, in a buffer of PATTERN_CAPACITY)
// the descriptor `inherited`, each subfolder before what it holds, so that its owner can no
// longer keep setup from listing it. Each name is taken in its short form where it has one,
// which opens it whatever the code page can spell.
enum { PATTERN_CAPACITY = TNP_PATH_CAPACITY + 2 };  // any folder of MAX_PATH and "\*"
static bool CloseEverythingIn(const FolderSecurity &security, char *path, int length, const unsigned char *inherited)
{
    lstrcpyA(path + length, "\\*");
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(path, &found);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    bool closed = true;
    do {
        const char *name = found.cAlternateFileName[0] != '\0' ? found.cAlternateFileName : found.cFileName;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        int childLength = length + 1 + lstrlenA(name);
        bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        closed = childLength < TNP_PATH_CAPACITY && (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
        if (closed) {
            lstrcpyA(path + length + 1, name);
            closed = (folder || HasOneName(path)) && WriteDescriptor(security, path, inherited)
                  && (!folder || CloseEverythingIn(security, path, childLength, inherited));
        }
    } while (closed && FindNextFileA(find, &found));
    FindClose(find);
    path[length] = '\0';
    return closed;
}

// `descriptor` holds 1 KB; one that doesn't fit counts as open: it is given anew.
static bool OpenToOthers(const FolderSecurity &security, const char *path, DWORD *descriptor)
{
    unsigned size = ReadDescriptor(security, path, descriptor, 1024);
    return PartsOpenToOthers((const unsigned char *)descriptor, size, security.user, security.powerUsersTrusted) != 0;
}

bool CloseFolderToOthers(const FolderSecurity &security, const char *installDir, bool *wasOpen)
{
    DWORD descriptor[256];
    *wasOpen = security.judged && OpenToOthers(security, installDir, descriptor);
    if (!*wasOpen)
        return true;
    char path[PATTERN_CAPACITY];
    int length = lstrlenA(installDir) - 1;
    lstrcpynA(path, installDir, length + 1);  // without its backslash
    unsigned char inherited[CLOSED_DESCRIPTOR_SIZE];
    BuildClosedDescriptor(inherited, security.protect, true);
    if (!WriteDescriptor(security, path, security.closed) || !CloseEverythingIn(security, path, length, inherited)
        || OpenToOthers(security, path, descriptor))
        return RefuseOpenFolder(path);
    return true;
}
