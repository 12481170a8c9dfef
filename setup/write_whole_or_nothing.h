// Writing files whole or not at all, and replacing several as one: a full drive, a failed write,
// another program, a killed run or lost power never leaves a file cut short under its own name,
// nor a set of files part old and part new.
//
// Each file has two names of its own beside its target, numbered by its slot among the files
// replaced in that directory and by the run that gave them: one it is written under ("staged")
// and one the earlier file is moved to while its successor is renamed in ("set aside"). A set
// replaced as one has a third name, its mark: written once every staged file is complete on disk,
// removed once every one is in place. Nothing but renames touches an earlier file until the whole
// set is in place, so at every moment either the earlier set or the new one can be made whole.
#pragma once
#include <windows.h>

struct ReplacedFiles {
    const char *directory;     // ends with a backslash
    const char *const *names;  // the files' own names, from slot `firstSlot` on
    int firstSlot;
    int count;
};

// Whether the earlier file at `path` can be replaced: 0 when it is there to be replaced or not
// there at all; else the system's error code (another program holds or runs it, its permissions
// refuse it, a folder holds its name), with nothing changed. Read-only is no refusal.
DWORD ReadyToReplace(const char *path);

// What earlier runs left beside `files` (from slot 0), run by run: the first `markedCount` files
// are one set under a mark, each later one a set alone. A set is finished where its mark
// says every new file was complete, else its earlier files are put back. Where the folder was
// open to other users (`trusted` false) every leftover is removed and none is renamed in. Then
// this run's names are chosen. 0, or the system's error code with `failedPath` naming the file
// that could not be put back, its earlier copy left as it is.
DWORD TidyLeftovers(const ReplacedFiles &files, int markedCount, bool trusted, char *failedPath);

// Writes `length` bytes whole and flushed as the staged file of `slot` in `directory`. 0, or the
// system's error code with nothing of it left.
DWORD StageFile(const char *directory, int slot, const void *data, DWORD length);
void RemoveStaged(const ReplacedFiles &files);

// Puts every staged file in place of its earlier one, in order, and lets go of the earlier ones;
// `marked`: under the set's mark. On a failure every earlier file is back under its own name and
// no staged one is left (where a file could not be moved back, the mark and the staged files stay
// for the next run's tidy); the system's error code is returned, `failedPath` naming the file
// that failed, or the leftover in its way.
DWORD PutStagedInPlace(const ReplacedFiles &files, bool marked, char *failedPath);

// One file replaced whole or not at all: checked, staged and put in place.
DWORD WriteWholeOrNothing(const ReplacedFiles &file, const void *data, DWORD length);
