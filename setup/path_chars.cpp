#include "path_chars.h"

int NextCharIndex(const char *text, int index, LeadByteRule isLead)
{
    if (isLead((unsigned char)text[index]) && text[index + 1] != '\0')
        return index + 2;
    return index + 1;
}

// Every search starts from the text's first byte: in a double-byte code page only a walk from
// a known character start tells lead bytes from trail bytes.
static int FindChar(const char *text, int from, char wanted, LeadByteRule isLead, bool last)
{
    int found = -1;
    for (int i = 0; text[i] != '\0'; i = NextCharIndex(text, i, isLead)) {
        if (i < from || text[i] != wanted)
            continue;
        if (!last)
            return i;
        found = i;
    }
    return found;
}

int FindFirstChar(const char *text, int from, char wanted, LeadByteRule isLead)
{
    return FindChar(text, from, wanted, isLead, false);
}

int FindLastChar(const char *text, int from, char wanted, LeadByteRule isLead)
{
    return FindChar(text, from, wanted, isLead, true);
}

bool EndsWithBackslash(const char *text, LeadByteRule isLead)
{
    int last = -1;
    for (int i = 0; text[i] != '\0'; i = NextCharIndex(text, i, isLead))
        last = i;
    return last >= 0 && text[last] == '\\';
}

int WholeCharactersWithin(const char *text, int limit, LeadByteRule isLead)
{
    int end = 0;
    while (text[end] != '\0') {
        int next = NextCharIndex(text, end, isLead);
        if (next > limit)
            break;
        end = next;
    }
    return end;
}

static char FoldAsciiCase(char c)
{
    return c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c;
}

int IndexBelowFolder(const char *path, const char *folder, LeadByteRule isLead)
{
    int i = 0;
    while (folder[i] != '\0') {
        int next = NextCharIndex(path, i, isLead);
        if (next - i == 2) {
            if (path[i] != folder[i] || path[i + 1] != folder[i + 1])
                return -1;
        } else if (FoldAsciiCase(path[i]) != FoldAsciiCase(folder[i])) {
            return -1;
        }
        i = next;
    }
    if (path[i] == '\0' || EndsWithBackslash(folder, isLead))
        return i;
    return path[i] == '\\' ? i + 1 : -1;
}

bool NamesSomethingIn(const char *text, const char *folder, LeadByteRule isLead)
{
    if (folder[0] == '\0')
        return false;
    for (int i = 0; text[i] != '\0'; i = NextCharIndex(text, i, isLead))
        if (IndexBelowFolder(text + i, folder, isLead) >= 0)
            return true;
    return false;
}
