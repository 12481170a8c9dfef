#include "search_directory.h"
#include "name_match.h"
#include "../resources/resource_ids.h"
#include "../setup/globals.h"
#include "../setup/path_chars.h"

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

// The name a folder opens by. Where the ANSI code page can't spell the long name, each character
// lost comes back as '?', which no name on disk holds; the short name opens it then, where it has
// one, else nothing does.
static const char *OpeningName(const WIN32_FIND_DATAA &entry)
{
    if (FindFirstChar(entry.cFileName, 0, '?', SystemLeadByte) < 0)
        return entry.cFileName;
    return entry.cAlternateFileName[0] != '\0' ? entry.cAlternateFileName : NULL;
}

// "<directory><name>\" when it fits a path buffer; entries too deep are not entered.
static bool BuildSubdirectory(char *path, const char *directory, const char *name)
{
    if (name == NULL || lstrlenA(directory) + lstrlenA(name) + 1 >= TNP_PATH_CAPACITY)
        return false;
    wsprintfA(path, "%s%s\\", directory, name);
    return true;
}

bool SearchDirectory(HWND dialog, const char *directory, const char *name)
{
    ShowProgress(dialog, directory);

    char path[TNP_PATH_CAPACITY];
    if (lstrlenA(directory) + 3 >= TNP_PATH_CAPACITY)
        return false;
    wsprintfA(path, "%s*.*", directory);
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(path, &entry);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    do {
        if (SameFileName(entry.cFileName, name)) {
            FindClose(find);
            lstrcpyA(g_existingCopyDirectory, directory);
            return true;
        }
        if (IsDescendable(directory, entry) && BuildSubdirectory(path, directory, OpeningName(entry))
            && SearchDirectory(dialog, path, name)) {
            FindClose(find);
            return true;
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return false;
}
