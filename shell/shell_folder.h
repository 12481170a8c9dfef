// Asking the shell for a folder: the path behind an item list, and the special folders it names.
#pragma once
#include <windows.h>
#include <shlobj.h>

// Writes the file-system path of the folder `item` names into `path` (MAX_PATH characters) and
// gives the item list back to the shell's allocator. False, with `path` empty, when it names none.
bool TakePathFromItemList(LPITEMIDLIST item, char *path);

// The special folder `csidl` as the shell reports it, into `path` (MAX_PATH characters). False,
// with `path` empty, when the shell names no such folder on this system.
bool GetSpecialFolderPath(int csidl, char *path);
