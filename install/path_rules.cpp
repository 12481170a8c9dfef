#include "path_rules.h"
#include "../setup/bounded_text.h"

static bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

int FindRootEnd(const char *path)
{
    int length = TextLength(path);
    if (length >= 5 && path[0] == '\\' && path[1] == '\\') {
        for (int i = 2; i < length; ++i)
            if (path[i] == '\\')
                return i;
    }
    if (length >= 4 && IsAsciiLetter(path[0]) && path[1] == ':' && path[2] == '\\')
        return 2;
    return 0;
}

int NextComponentEnd(const char *path, int currentEnd)
{
    int i = currentEnd + 1;
    while (path[i] != '\0' && path[i] != '\\')
        ++i;
    return i;
}
