#pragma once
#include <windows.h>

// Advances with every directory entered; the dialog sets it to 0 when a scan starts.
extern int g_searchAnimationCounter;

// Walks `directory` (ending with a backslash) depth first in listing order for an entry named
// `name`. On a hit the existing-copy directory holds the directory it was found in.
bool SearchDirectory(HWND dialog, const char *directory, const char *name);
