#pragma once

// Makes every missing directory along `path` (drive or network form, a trailing backslash
// allowed), one component at a time, each with the security descriptor `descriptor` (NULL: the
// entries it inherits from its parent). Returns 1 when the whole path exists afterwards, 0 after
// telling the user why not. Nothing it creates is removed again.
int CreatePath(const char *path, const unsigned char *descriptor);
