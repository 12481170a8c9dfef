// Reading a string value of the registry whole, as one NUL-terminated text.
#pragma once
#include <windows.h>

// Reads the value `name` (NULL: the key's default value) into `text` and returns its type,
// REG_SZ or REG_EXPAND_SZ. A value that is missing, not a string or too long for `capacity`
// gives 0 and the empty text; one stored without its terminator gets one.
DWORD ReadRegistryText(HKEY key, const char *name, char *text, DWORD capacity);
