#include "path_rules.h"
#include "../setup/bounded_text.h"

static bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

int FindRootEnd(const char *path, LeadByteRule isLead)
{
    int length = TextLength(path);
    if (length >= 5 && path[0] == '\\' && path[1] == '\\') {
        int serverEnd = FindFirstChar(path, 2, '\\', isLead);
        if (serverEnd != -1)
            return serverEnd;
    }
    if (length >= 4 && IsAsciiLetter(path[0]) && path[1] == ':' && path[2] == '\\')
        return 2;
    return 0;
}

int NextComponentEnd(const char *path, int currentEnd, LeadByteRule isLead)
{
    int next = FindFirstChar(path, currentEnd + 1, '\\', isLead);
    return next != -1 ? next : TextLength(path);
}

bool HasComponentEndingInBlankOrDot(const char *path, LeadByteRule isLead)
{
    int start = 0;
    for (int i = 0; path[i] != '\0'; i = NextCharIndex(path, i, isLead)) {
        char c = path[i];
        if (c == '\\')
            start = i + 1;
        else if ((c == ' ' || c == '.') && (path[i + 1] == '\\' || path[i + 1] == '\0')
                 && !(c == '.' && (i == start || (i == start + 1 && path[start] == '.'))))
            return true;
    }
    return false;
}
