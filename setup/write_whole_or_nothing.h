// Writing files whole or not at all, and replacing several as one: a full drive, a failed write,
// another program or a killed run never leaves a file cut short under its own name, nor an
// earlier copy part old and part new.
//
// Each file has two names of its own beside its target, numbered by its slot among the files
// replaced in that directory: one it is written under ("staged") and one the earlier file is
// moved to while its successor is renamed in ("set aside"). Nothing but renames touches an
// earlier file until every new one is in place, so a failure can always put the earlier ones back.
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

// What a killed run left: an earlier file set aside with nothing under its own name is put back,
// and every other name of its own is removed.
void TidyLeftovers(const ReplacedFiles &files);

// Writes `length` bytes whole as the staged file of `slot` in `directory`. 0, or the system's
// error code with nothing of it left.
DWORD StageFile(const char *directory, int slot, const void *data, DWORD length);
void RemoveStaged(const ReplacedFiles &files);

// Puts every staged file in place of its earlier one, in order, and lets go of the earlier ones.
// On a failure every earlier file is back under its own name and no staged one is left; the
// system's error code is returned and `*failed` is the index of the file that failed.
DWORD PutStagedInPlace(const ReplacedFiles &files, int *failed);

// One file replaced whole or not at all: checked, staged and put in place.
DWORD WriteWholeOrNothing(const ReplacedFiles &file, const void *data, DWORD length);
