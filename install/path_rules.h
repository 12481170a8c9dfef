// How an install path is taken apart, as pure rules (no Windows calls) so that they can be
// exercised on any bytes. Backslashes count only where a character starts (path_chars.h).
#pragma once
#include "../setup/path_chars.h"

// Index of the backslash that ends the path's root: the one after the server name for
// \\server\share\..., 2 for a drive path C:\...; 0 when the path has neither root form.
int FindRootEnd(const char *path, LeadByteRule isLead);
// The end of the next component after `currentEnd`: the index of the next backslash, or the
// path's length when there is none.
int NextComponentEnd(const char *path, int currentEnd, LeadByteRule isLead);
// True when a component other than "." and ".." ends in a blank or a dot. Windows drops that
// character where it makes the last folder of a path and keeps it where the name is not the
// path's last, so the folder made is not the one the path then names.
bool HasComponentEndingInBlankOrDot(const char *path, LeadByteRule isLead);
