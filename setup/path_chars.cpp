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
