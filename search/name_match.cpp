#include "name_match.h"

static char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
}

bool SameFileName(const char *a, const char *b)
{
    while (*a != '\0' && FoldAscii(*a) == FoldAscii(*b)) {
        ++a;
        ++b;
    }
    return FoldAscii(*a) == FoldAscii(*b);
}

// The Recycle Bin of Windows 95 to ME, of NT 4 to XP, of Vista and later; then Windows.old.
static const char *const kEmptiedByWindows[] = {"RECYCLED", "RECYCLER", "$Recycle.Bin", "Windows.old"};

bool IsEmptiedByWindows(const char *rootFolder)
{
    for (unsigned i = 0; i < sizeof kEmptiedByWindows / sizeof kEmptiedByWindows[0]; ++i)
        if (SameFileName(rootFolder, kEmptiedByWindows[i]))
            return true;
    return false;
}
