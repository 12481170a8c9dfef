#include "write_whole_or_nothing.h"
#include "product.h"
#include "this_windows.h"

typedef BOOL(WINAPI *MoveFileExAFn)(LPCSTR, LPCSTR, DWORD);

enum NameOfItsOwn { STAGED_NAME, ASIDE_NAME };

// 8.3 names, so that any volume takes them; the digit is the slot.
static const char *const NAMES_OF_ITS_OWN[2] = {"tnp_new1.tmp", "tnp_old1.tmp"};
enum { SLOT_DIGIT = 7 };

typedef char PathText[TNP_TEXT_CAPACITY];

// The directory holds at most TNP_PATH_CAPACITY characters and every name is short, so
// the text always fits.
static void ComposeBeside(PathText path, const char *directory, int slot, NameOfItsOwn name)
{
    lstrcpynA(path, directory, TNP_PATH_CAPACITY);
    int end = lstrlenA(path);
    lstrcatA(path, NAMES_OF_ITS_OWN[name]);
    path[end + SLOT_DIGIT] = (char)(path[end + SLOT_DIGIT] + slot);
}

// A file's three paths: its own, staged and set aside.
struct FilePaths {
    PathText own, staged, aside;
};

static void ComposeFilePaths(FilePaths &paths, const ReplacedFiles &files, int index)
{
    lstrcpynA(paths.own, files.directory, TNP_PATH_CAPACITY);
    lstrcatA(paths.own, files.names[index]);
    ComposeBeside(paths.staged, files.directory, files.firstSlot + index, STAGED_NAME);
    ComposeBeside(paths.aside, files.directory, files.firstSlot + index, ASIDE_NAME);
}

// Read-only is cleared only where a file must be opened for writing or deleted; hidden and
// system stay as they are.
static DWORD WithoutReadOnly(DWORD attributes)
{
    attributes &= ~FILE_ATTRIBUTE_READONLY;
    return attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
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
    DWORD attributes = GetFileAttributesA(path);
    bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly)
        SetFileAttributesA(path, WithoutReadOnly(attributes));
    // Shared with nobody, the open fails while any other program has the file open; for writing,
    // it fails while the file runs as a program or a loaded DLL. Nothing is written through it.
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    DWORD error = 0;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    else
        error = GetLastError();
    if (readOnly)
        SetFileAttributesA(path, attributes);
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : error;
}

// An earlier file set aside goes once its successor is in place. One that another program
// holds without delete sharing goes at the next restart on NT; on the 95 family, which can't
// schedule that, the next run's tidying takes it.
static void RemoveSetAside(const char *aside)
{
    DWORD attributes = GetFileAttributesA(aside);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesA(aside, WithoutReadOnly(attributes));
    if (DeleteFileA(aside) || !DetectNtLayout())
        return;
    MoveFileExAFn moveFileEx = (MoveFileExAFn)FindKernelFunction("MoveFileExA");
    if (moveFileEx != NULL)
        moveFileEx(aside, NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
}

void TidyLeftovers(const ReplacedFiles &files)
{
    FilePaths paths;
    for (int i = 0; i < files.count; ++i) {
        ComposeFilePaths(paths, files, i);
        DeleteFileA(paths.staged);
        if (GetFileAttributesA(paths.aside) == INVALID_FILE_ATTRIBUTES)
            continue;
        // Killed between setting the earlier file aside and renaming its successor in.
        if (GetFileAttributesA(paths.own) == INVALID_FILE_ATTRIBUTES)
            MoveFileA(paths.aside, paths.own);
        RemoveSetAside(paths.aside);
    }
}

DWORD StageFile(const char *directory, int slot, const void *data, DWORD length)
{
    PathText staged;
    ComposeBeside(staged, directory, slot, STAGED_NAME);
    HANDLE file = CreateFileA(staged, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    DWORD error = WriteAll(file, (const BYTE *)data, length);
    // Closing may be where a network drive reports the write that failed.
    if (!CloseHandle(file) && error == 0)
        error = GetLastError();
    if (error != 0)
        DeleteFileA(staged);
    return error;
}

void RemoveStaged(const ReplacedFiles &files)
{
    PathText staged;
    for (int i = 0; i < files.count; ++i) {
        ComposeBeside(staged, files.directory, files.firstSlot + i, STAGED_NAME);
        DeleteFileA(staged);
    }
}

// Plain renames, the same on every Windows: Windows renames a read-only file, and NT one that a
// scanner holds with delete sharing. The earlier file is set aside only where there is one.
static DWORD SwapIn(const FilePaths &paths)
{
    if (!MoveFileA(paths.own, paths.aside)) {
        DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND)
            return error;
    }
    if (MoveFileA(paths.staged, paths.own))
        return 0;
    DWORD error = GetLastError();
    MoveFileA(paths.aside, paths.own);
    return error;
}

// The successor is moved back to its staged name rather than deleted: a rename goes through
// where a delete would only mark a file a scanner holds, and keep its name taken.
static void SwapBack(const FilePaths &paths)
{
    MoveFileA(paths.own, paths.staged);
    MoveFileA(paths.aside, paths.own);
}

DWORD PutStagedInPlace(const ReplacedFiles &files, int *failed)
{
    FilePaths paths;
    DWORD error = 0;
    int swapped = 0;
    for (; swapped < files.count; ++swapped) {
        ComposeFilePaths(paths, files, swapped);
        error = SwapIn(paths);
        if (error != 0)
            break;
    }
    *failed = swapped;
    for (int i = 0; i < swapped; ++i) {
        ComposeFilePaths(paths, files, error != 0 ? swapped - 1 - i : i);
        if (error != 0)
            SwapBack(paths);
        else
            RemoveSetAside(paths.aside);
    }
    if (error != 0)
        RemoveStaged(files);
    return error;
}

DWORD WriteWholeOrNothing(const ReplacedFiles &file, const void *data, DWORD length)
{
    FilePaths paths;
    ComposeFilePaths(paths, file, 0);
    DWORD error = ReadyToReplace(paths.own);
    if (error == 0)
        error = StageFile(file.directory, file.firstSlot, data, length);
    int failed;
    if (error == 0)
        error = PutStagedInPlace(file, &failed);
    return error;
}
