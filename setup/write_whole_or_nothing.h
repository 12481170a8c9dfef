// Writing a file whole or not at all: a full drive, a failed write or a killed run never
// leaves a file cut short under its own name, nor costs a complete copy that was there before.
#pragma once
#include <windows.h>

// Readies an earlier file at `path` to be replaced: clears its read-only attribute (a copy from
// a CD or a backup carries it; nobody chose it for these files). Returns ERROR_SHARING_VIOLATION
// while another program holds the file open or runs it, so that nothing is replaced; else 0, and
// whatever else refuses the file is left to the write to report.
DWORD ReadyToReplace(const char *path);

// Writes `length` bytes as the file `path` (a bare name is in the current directory). Returns 0
// once the file is complete under that name; otherwise the system's error code, with nothing
// of the new file left and an earlier file of that name as it was.
DWORD WriteWholeOrNothing(const char *path, const void *data, DWORD length);
