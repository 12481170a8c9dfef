// Measuring and unpacking the payload files held as zlib streams in the exe's own resources.
#pragma once
#include <windows.h>

// The decompressed size of one payload file; 0 after a message when it can't be had.
DWORD GetPayloadSize(const char *resourceName);
// Writes one payload file whole under its staged name beside `directory` (ending with a
// backslash) + `fileName`, its target. Returns its size, or 0 after a message naming the target
// when it was not written whole.
DWORD ExtractPayloadFile(const char *resourceName, const char *directory, const char *fileName);
// Replaces the payload files in `directory` as one: what killed runs left is tidied (where
// `leftoversTrusted` is false the folder was open to other users until this run, and whatever
// lies there under setup's names is removed, never renamed in), every target checked, every file
// staged, and only then are the staged files put in place. False after a message naming the file
// that failed, with every earlier file as it was and nothing new left, so that a stop never
// leaves an earlier copy part old, part new.
bool ReplacePayloadFiles(const char *directory, bool leftoversTrusted);
