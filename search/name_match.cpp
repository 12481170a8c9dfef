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
