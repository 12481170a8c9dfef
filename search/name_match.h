#pragma once

// Compares two names with only 'A'-'Z' folded to 'a'-'z', whatever the locale; every other
// byte must match exactly.
bool SameFileName(const char *a, const char *b);

// The folders Windows empties by itself that a drive's root may hold (its Recycle Bins, the
// Windows a new one replaced): a copy kept there goes with them. Matched whole, in any case.
bool IsEmptiedByWindows(const char *rootFolder);
