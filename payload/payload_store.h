// Measuring and unpacking the payload files held as zlib streams in the exe's own resources.
#pragma once
#include <windows.h>

// The decompressed size of one payload file; 0 after a message when it can't be had.
DWORD GetPayloadSize(const char *resourceName);
// Writes one payload file to `directory` (ending with a backslash) + `fileName`. Returns its
// size, or 0 after a message when it was not written whole.
DWORD ExtractPayloadFile(const char *resourceName, const char *directory, const char *fileName);
// Readies every payload file already in `directory` (ending with a backslash) to be replaced.
// False after a message naming the first that another program holds, with none replaced, so
// that a stop never leaves an earlier copy part old, part new.
bool ReadyToReplacePayloadFiles(const char *directory);
