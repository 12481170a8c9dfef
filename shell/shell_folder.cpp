#include "shell_folder.h"

bool TakePathFromItemList(LPITEMIDLIST item, char *path)
{
    path[0] = '\0';
    if (item == NULL)
        return false;
    if (!SHGetPathFromIDListA(item, path))
        path[0] = '\0';
    // Without the shell's allocator the item list can't be given back; a few bytes stay.
    IMalloc *allocator = NULL;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator != NULL) {
        allocator->Free(item);
        allocator->Release();
    }
    return path[0] != '\0';
}

bool GetSpecialFolderPath(int csidl, char *path)
{
    LPITEMIDLIST item = NULL;
    if (FAILED(SHGetSpecialFolderLocation(NULL, csidl, &item))) {
        path[0] = '\0';
        return false;
    }
    return TakePathFromItemList(item, path);
}
