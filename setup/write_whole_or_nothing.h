// Writing a file whole or not at all: a full drive, a failed write or a killed run never
// leaves a file cut short under its own name, nor costs a complete copy that was there before.
#pragma once
#include <windows.h>

// Writes `length` bytes as the file `path` (a bare name is in the current directory). Returns 0
// once the file is complete under that name; otherwise the system's error code, with nothing
// of the new file left and an earlier file of that name as it was (unless the system let it be
// deleted and then refused the rename).
DWORD WriteWholeOrNothing(const char *path, const void *data, DWORD length);
