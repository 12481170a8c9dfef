#include "write_whole_or_nothing.h"
#include <string.h>
#include "bounded_text.h"
#include "product.h"
#include "this_windows.h"

typedef BOOL(WINAPI *MoveFileExAFn)(LPCSTR, LPCSTR, DWORD);

enum NameOfItsOwn { STAGED_NAME, ASIDE_NAME, MARK_NAME, NAME_KINDS };

// 8.3 names, so that any volume takes them: "tn", the run's four characters, the kind's letter
// and the slot's digit. A set-aside copy that another program holds goes at the next restart, by
// its name, so no later run may give that name to a file it still needs: a run is named for the
// quarter second of the system's uptime in which it began, a name that comes back only after a
// restart or, in that one quarter second, three days later. The last release's names read the
// same way ("tnp_new1.tmp": run "p_ne", kind 'w'), both its kinds one run; it wrote no mark, and
// the name of one is none a file can have.
static const char NAME_FORM[] = "tn0000w1.tmp";
static const char KIND_LETTERS[] = "wdm";
static const char RUN_DIGITS[] = "0123456789abcdefghijklmnopqrstuv";
static const char *const LAST_RELEASE_RUNS[NAME_KINDS] = {"p_ne", "p_ol", "p_??"};
enum { RUN_AT = 2, RUN_LENGTH = 4, KIND_AT = 6, SLOT_AT = 7, NAME_LENGTH = 12, RUN_SHIFT = 8, RUNS_TIDIED = 8 };

// A run's four characters, compared as one number.
typedef DWORD Run;
static Run s_run = 0x30303030;  // "0000"

typedef char PathText[TNP_TEXT_CAPACITY];

static void ComposeName(char *name, Run run, int slot, NameOfItsOwn kind)
{
    lstrcpyA(name, NAME_FORM);
    const char *runChars = (const char *)&run;
    if (runChars[1] == '_')
        runChars = LAST_RELEASE_RUNS[kind];
    memcpy(name + RUN_AT, runChars, RUN_LENGTH);
    name[KIND_AT] = KIND_LETTERS[kind];
    name[SLOT_AT] = (char)('1' + slot);
}

// The directory holds at most TNP_PATH_CAPACITY characters and every name is short, so
// the text always fits.
static void ComposeBeside(PathText path, const char *directory, Run run, int slot, NameOfItsOwn kind)
{
    lstrcpynA(path, directory, TNP_PATH_CAPACITY);
    ComposeName(path + lstrlenA(path), run, slot, kind);
}

// A file's three paths: its own, staged and set aside.
struct FilePaths {
    PathText own, staged, aside;
};

static void ComposeFilePaths(FilePaths &paths, const ReplacedFiles &files, int index, Run run)
{
    lstrcpynA(paths.own, files.directory, TNP_PATH_CAPACITY);
    lstrcatA(paths.own, files.names[index]);
    ComposeBeside(paths.staged, files.directory, run, files.firstSlot + index, STAGED_NAME);
    ComposeBeside(paths.aside, files.directory, run, files.firstSlot + index, ASIDE_NAME);
}

// Read-only is cleared only where a file must be opened for writing or deleted; hidden and
// system stay as they are.
static DWORD WithoutReadOnly(DWORD attributes)
{
    attributes &= ~FILE_ATTRIBUTE_READONLY;
    return attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
}

static bool Exists(const char *path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
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

// NTFS journals renames but not file data, and the 95 family writes behind in no order, so the
// bytes are on the disk before any rename counts on them.
static DWORD WriteFlushed(const char *path, const void *data, DWORD length)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    DWORD error = WriteAll(file, (const BYTE *)data, length);
    if (error == 0 && !FlushFileBuffers(file))
        error = GetLastError();
    // Closing may be where a network drive reports the write that failed.
    if (!CloseHandle(file) && error == 0)
        error = GetLastError();
    if (error != 0)
        DeleteFileA(path);
    return error;
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

// A leftover no set needs any more goes. One that another program holds without delete sharing
// goes at the next restart on NT; on the 95 family, which can't schedule that, the next run's
// tidy takes it.
static void RemoveLeftover(const char *path)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesA(path, WithoutReadOnly(attributes));
    if (DeleteFileA(path) || !DetectNtLayout())
        return;
    MoveFileExAFn moveFileEx = (MoveFileExAFn)FindKernelFunction("MoveFileExA");
    if (moveFileEx != NULL)
        moveFileEx(path, NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
}

// 0 where the file was moved or there was none to move.
static DWORD MoveIfThere(const char *from, const char *to)
{
    if (MoveFileA(from, to))
        return 0;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? 0 : error;
}

// Plain renames, the same on every Windows: Windows renames a read-only file, and NT one that a
// scanner holds with delete sharing. The earlier file is set aside only where there is one; a
// set-aside name already taken is the leftover in the way. Where the successor can't follow, the
// earlier file is put back with the rest of its set.
static DWORD SwapIn(const FilePaths &paths, char *failedPath)
{
    lstrcpyA(failedPath, paths.own);
    DWORD error = MoveIfThere(paths.own, paths.aside);
    if (error == ERROR_ALREADY_EXISTS)
        lstrcpyA(failedPath, paths.aside);
    if (error == 0 && !MoveFileA(paths.staged, paths.own))
        error = GetLastError();
    return error;
}

// The earlier file back under its own name. Its successor, where it is in place, is first moved
// to its staged name rather than deleted: a rename goes through where a delete would only mark a
// file a scanner holds, and keep its name taken.
static DWORD PutBack(const FilePaths &paths, bool successorInPlace)
{
    DWORD error = successorInPlace ? MoveIfThere(paths.own, paths.staged) : 0;
    return error != 0 ? error : MoveIfThere(paths.aside, paths.own);
}

// What one run left: its run, and for each kind of name one bit a slot.
struct RunLeftovers {
    Run run;
    unsigned slots[NAME_KINDS];
};

// Which of setup's names `found` is. The whole name is compared: a pattern of 8.3 names also
// matches other files by their short names.
static bool ReadLeftoverName(const char *found, int slotCount, Run *run, int *slot, int *kind)
{
    memcpy(run, found[RUN_AT + 1] == '_' ? LAST_RELEASE_RUNS[0] : found + RUN_AT, RUN_LENGTH);
    *slot = found[SLOT_AT] - '1';
    for (*kind = STAGED_NAME; *kind < MARK_NAME && KIND_LETTERS[*kind] != found[KIND_AT]; ++*kind)
        ;
    char composed[NAME_LENGTH + 1];
    ComposeName(composed, *run, *slot, (NameOfItsOwn)*kind);
    return *slot >= 0 && *slot < slotCount && TextEquals(composed, found);
}

// One look at the folder finds every leftover, grouped by the run that left it.
static int GatherLeftovers(const char *directory, int slotCount, RunLeftovers *runs)
{
    PathText pattern;
    lstrcpynA(pattern, directory, TNP_PATH_CAPACITY);
    lstrcatA(pattern, "tn*.tmp");
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(pattern, &found);
    int gathered = 0;
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        Run run;
        int slot, kind;
        if (!ReadLeftoverName(found.cFileName, slotCount, &run, &slot, &kind))
            continue;
        int i = 0;
        while (i < gathered && runs[i].run != run)
            ++i;
        // Runs beyond these are left for a later tidy, gathered into the one entry past them:
        // none of their names is this run's.
        gathered += i == gathered && gathered < RUNS_TIDIED;
        runs[i].run = run;
        runs[i].slots[kind] |= 1u << slot;
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return gathered;
}

// One run's files made whole. The first `setCount` are one set: the new files where `swapping`
// (the run's mark says they were complete) and every rename goes through, else the earlier ones.
// Each later file is a set alone, whose earlier copy is put back where its own name is missing.
// 0, or the error of the rename that failed, the earlier files back; or that of a file that
// could not be put back, its earlier copy left as it is, the mark and the staged files too.
static DWORD MakeSetWhole(const ReplacedFiles &files, const RunLeftovers &left, int setCount, bool swapping,
                          bool trusted, char *failedPath)
{
    unsigned inSet = (1u << setCount) - 1;
    unsigned staged = left.slots[STAGED_NAME] & inSet;
    FilePaths paths;
    // Files go in slot by slot, so those before the first one still staged are in place.
    int inPlace = staged != 0 ? __builtin_ctz(staged) : setCount;
    // Without a mark, staged files may be incomplete: a killed swap of the last release is undone.
    bool restoring = staged != 0 && (left.slots[ASIDE_NAME] & inSet) != 0;
    DWORD error = 0;
    if (swapping && trusted) {
        restoring = staged != inSet - ((1u << inPlace) - 1);
        for (int s = 0; !restoring && s < setCount; ++s) {
            ComposeFilePaths(paths, files, s, left.run);
            if (s < inPlace) {
                restoring = !Exists(paths.own);
                continue;
            }
            error = SwapIn(paths, failedPath);
            restoring = error != 0;
            inPlace += !restoring;
        }
    }
    for (int s = files.count - 1; trusted && s >= 0; --s) {
        ComposeFilePaths(paths, files, s, left.run);
        bool successorInPlace = restoring && s < inPlace;
        if (successorInPlace || !Exists(paths.own)) {
            DWORD putBack = PutBack(paths, successorInPlace);
            if (putBack != 0) {
                lstrcpyA(failedPath, paths.own);
                return putBack;
            }
        }
    }
    // Once one set is whole, and before any earlier copy is let go or any staged file goes: a
    // mark beside only some of the staged files would finish a set part new, part old.
    if (left.slots[MARK_NAME] != 0) {
        ComposeBeside(paths.own, files.directory, left.run, 0, MARK_NAME);
        RemoveLeftover(paths.own);
    }
    for (int s = 0; s < files.count; ++s) {
        ComposeFilePaths(paths, files, s, left.run);
        RemoveLeftover(paths.staged);
        RemoveLeftover(paths.aside);
    }
    return error;
}

DWORD TidyLeftovers(const ReplacedFiles &files, int markedCount, bool trusted, char *failedPath)
{
    RunLeftovers runs[RUNS_TIDIED + 1] = {};
    int gathered = GatherLeftovers(files.directory, files.count, runs);
    DWORD error = 0;
    // A run stopped mid-swap first: until its set is whole, an older run's set-aside copy may
    // find its own file missing.
    for (int i = 0; i < 2 * gathered && error == 0; ++i) {
        const RunLeftovers &left = runs[i % gathered];
        if (((left.slots[STAGED_NAME] | left.slots[MARK_NAME]) != 0) == (i < gathered))
            error = MakeSetWhole(files, left, markedCount, left.slots[MARK_NAME] != 0, trusted, failedPath);
    }
    DWORD ticks = GetTickCount() >> RUN_SHIFT;
    for (int i = 0; i < RUN_LENGTH; ++i, ticks >>= 5)
        s_run = s_run << 8 | RUN_DIGITS[ticks & 31];
    return error;
}

DWORD StageFile(const char *directory, int slot, const void *data, DWORD length)
{
    PathText staged;
    ComposeBeside(staged, directory, s_run, slot, STAGED_NAME);
    return WriteFlushed(staged, data, length);
}

// This run's files as leftovers of its own: every one staged, and swapped in where `swapping`.
static DWORD MakeThisRunsSetWhole(const ReplacedFiles &files, bool swapping, char *failedPath)
{
    RunLeftovers staged = {};
    staged.run = s_run;
    staged.slots[STAGED_NAME] = (1u << files.count) - 1;
    staged.slots[MARK_NAME] = swapping;
    return MakeSetWhole(files, staged, files.count, swapping, true, failedPath);
}

void RemoveStaged(const ReplacedFiles &files)
{
    PathText unused;
    MakeThisRunsSetWhole(files, false, unused);
}

DWORD PutStagedInPlace(const ReplacedFiles &files, bool marked, char *failedPath)
{
    ComposeBeside(failedPath, files.directory, s_run, 0, MARK_NAME);
    DWORD error = marked ? WriteFlushed(failedPath, "", 0) : 0;
    DWORD swapped = MakeThisRunsSetWhole(files, error == 0, failedPath);
    return error != 0 ? error : swapped;
}

DWORD WriteWholeOrNothing(const ReplacedFiles &file, const void *data, DWORD length)
{
    FilePaths paths;
    ComposeFilePaths(paths, file, 0, s_run);
    DWORD error = ReadyToReplace(paths.own);
    if (error == 0)
        error = StageFile(file.directory, file.firstSlot, data, length);
    if (error == 0)
        error = PutStagedInPlace(file, false, paths.staged);
    return error;
}
