#pragma once

// Makes every missing directory along `path` (drive or network form, a trailing backslash
// allowed), one component at a time. Returns 1 when the whole path exists afterwards, 0 after
// telling the user why not. Nothing it creates is removed again.
int CreatePath(const char *path);
