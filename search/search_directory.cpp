#include "search_directory.h"
#include "name_match.h"
#include "../resources/resource_ids.h"
#include "../setup/globals.h"

int g_searchAnimationCounter;

enum { ANIMATION_FRAMES = 4 };

// Windows 2000 and later take a window whose thread has not looked at its queue for 5 seconds
// as hung and ghost it; a look that removes nothing keeps the dialog answering the system while
// its input waits for the end. A look per directory would cost a third of the scan, so it is
// made at most every 100 ms.
static void AnswerTheSystem()
{
    static DWORD lastLook;
    DWORD now = GetTickCount();
    if (now - lastLook < 100)
        return;
    lastLook = now;
    MSG waiting;
    PeekMessageA(&waiting, NULL, 0, 0, PM_NOREMOVE);
}

// Shows the directory being entered and the next frame of the animation; the dialog's own
// message loop is held up by the walk, so it is painted here.
static void ShowProgress(HWND dialog, const char *directory)
{
    AnswerTheSystem();
    SetDlgItemTextA(dialog, IDC_SEARCH_DIR, directory);
    if (++g_searchAnimationCounter > ANIMATION_FRAMES)
        g_searchAnimationCounter = 1;
    char iconName[16];
    wsprintfA(iconName, "search%i", g_searchAnimationCounter);
    HICON icon = LoadIconA(g_instance, iconName);
    SendDlgItemMessageA(dialog, IDC_SEARCH_ICON, STM_SETICON, (WPARAM)icon, 0);
    UpdateWindow(dialog);
}

// Directories the walk goes into: not dot names, not links, which may lead back into their own
// tree and never end the walk, and not what Windows empties at a drive's root ("X:\", the only
// directory of three characters the walk is given).
static bool IsDescendable(const char *directory, const WIN32_FIND_DATAA &entry)
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
        && (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0
        && entry.cFileName[0] != '.'
        && !(directory[3] == '\0' && IsEmptiedByWindows(entry.cFileName));
}

// "<directory><name>\" when it and its search pattern fit a path buffer; entries too deep are
// not entered.
static bool BuildSubdirectory(char *path, const char *directory, const char *name)
{
    if (name[0] == '\0' || lstrlenA(directory) + lstrlenA(name) + 4 >= TNP_PATH_CAPACITY)
        return false;
    wsprintfA(path, "%s%s\\", directory, name);
    return true;
}

// Starts listing `directory`, the pattern built in `pattern`.
static HANDLE ListFirst(char *pattern, const char *directory, WIN32_FIND_DATAA &entry)
{
    if (lstrlenA(directory) + 3 >= TNP_PATH_CAPACITY)
        return INVALID_HANDLE_VALUE;
    wsprintfA(pattern, "%s*.*", directory);
    return FindFirstFileA(pattern, &entry);
}

static bool SearchSubdirectory(HWND dialog, char *subdirectory, const char *directory,
                               const WIN32_FIND_DATAA &folder, const char *name);

// Shows `directory` and walks the listing begun in `entry`, `path` being this level's buffer.
static bool SearchListing(HWND dialog, const char *directory, HANDLE find, WIN32_FIND_DATAA &entry, char *path,
                          const char *name)
{
    ShowProgress(dialog, directory);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    do {
        if (SameFileName(entry.cFileName, name)) {
            FindClose(find);
            lstrcpyA(g_existingCopyDirectory, directory);
            return true;
        }
        if (IsDescendable(directory, entry) && SearchSubdirectory(dialog, path, directory, entry, name)) {
            FindClose(find);
            return true;
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return false;
}

// A long name the ANSI code page can't spell comes back spelt some other way: '?' for each
// character lost, a look-alike (best fit) on NT, '_' on Windows 95. Whatever the spelling, the
// folder it names is then not there or the name is not valid; its short name leads to it.
static bool SearchSubdirectory(HWND dialog, char *subdirectory, const char *directory,
                               const WIN32_FIND_DATAA &folder, const char *name)
{
    if (!BuildSubdirectory(subdirectory, directory, folder.cFileName))
        return false;
    char path[TNP_PATH_CAPACITY];
    WIN32_FIND_DATAA entry;
    HANDLE find = ListFirst(path, subdirectory, entry);
    DWORD error = GetLastError();
    if (find == INVALID_HANDLE_VALUE
        && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME)
        && BuildSubdirectory(subdirectory, directory, folder.cAlternateFileName))
        find = ListFirst(path, subdirectory, entry);
    return SearchListing(dialog, subdirectory, find, entry, path, name);
}

bool SearchDirectory(HWND dialog, const char *directory, const char *name)
{
    char path[TNP_PATH_CAPACITY];
    WIN32_FIND_DATAA entry;
    return SearchListing(dialog, directory, ListFirst(path, directory, entry), entry, path, name);
}
