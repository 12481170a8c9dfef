#include "write_whole_or_nothing.h"
#include "bounded_text.h"
#include "path_chars.h"
#include "product.h"
#include "this_windows.h"

typedef BOOL(WINAPI *MoveFileExAFn)(LPCSTR, LPCSTR, DWORD);

// The new file is written beside its target, on the same drive, so that putting it in place is
// a rename. The name is fixed so that whatever a killed run left is replaced by the next run.
static const char PART_FILE_NAME[] = "tnp_new.tmp";

// The target's directory (none for a bare name) followed by the part file's name.
static bool ComposePartPath(char *partPath, int capacity, const char *path)
{
    int directoryLength = FindLastChar(path, 0, '\\', SystemLeadByte) + 1;
    if (directoryLength >= capacity)
        return false;
    lstrcpynA(partPath, path, directoryLength + 1);
    return AppendText(partPath, capacity, PART_FILE_NAME);
}

// WriteFile may take only part of what it is given and still succeed (a drive filling up does
// this), so the rest is written until it is all taken or the system says why not.
static DWORD WriteAll(HANDLE file, const BYTE *data, DWORD length)
{
    while (length > 0) {
        DWORD written = 0;
        if (!WriteFile(file, data, length, &written, NULL))
            return GetLastError();
        // A write that takes nothing and reports no error would loop for ever; on a disk file
        // it only happens when there is no room left.
        if (written == 0)
            return ERROR_DISK_FULL;
        data += written;
        length -= written;
    }
    return 0;
}

DWORD ReadyToReplace(const char *path)
{
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    // Shared with nobody, the open fails while any other program has the file open; for writing,
    // it fails while the file runs as a program or a loaded DLL. Nothing is written through it.
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return 0;
    }
    DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION ? error : 0;
}

// The complete old copy is let go only now that its successor is complete. Windows NT replaces
// the name in one step: its delete would only mark a file another program holds, the rename onto
// that name would fail, and the old file would go once the program lets go. Windows 95/98/ME
// have no working MoveFileExA and rename onto no existing name, so there the old file is deleted
// first; a file another program holds refuses that delete.
static DWORD PutInPlace(const char *partPath, const char *path)
{
    MoveFileExAFn moveFileEx = (MoveFileExAFn)FindKernelFunction("MoveFileExA");
    if (moveFileEx != NULL) {
        if (moveFileEx(partPath, path, MOVEFILE_REPLACE_EXISTING))
            return 0;
        DWORD error = GetLastError();
        if (error != ERROR_CALL_NOT_IMPLEMENTED)
            return error;
    }
    if (!DeleteFileA(path)) {
        DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND)
            return error;
    }
    if (!MoveFileA(partPath, path))
        return GetLastError();
    return 0;
}

DWORD WriteWholeOrNothing(const char *path, const void *data, DWORD length)
{
    char partPath[TNP_TEXT_CAPACITY];
    if (!ComposePartPath(partPath, sizeof partPath, path))
        return ERROR_FILENAME_EXCED_RANGE;
    DWORD error = ReadyToReplace(path);
    if (error != 0)
        return error;
    HANDLE file = CreateFileA(partPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    error = WriteAll(file, (const BYTE *)data, length);
    // Closing may be where a network drive reports the write that failed.
    if (!CloseHandle(file) && error == 0)
        error = GetLastError();
    if (error == 0)
        error = PutInPlace(partPath, path);
    if (error != 0)
        DeleteFileA(partPath);
    return error;
}
