#pragma once

// Compares two names with only 'A'-'Z' folded to 'a'-'z', whatever the locale; every other
// byte must match exactly.
bool SameFileName(const char *a, const char *b);
