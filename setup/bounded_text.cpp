#include "bounded_text.h"

int TextLength(const char *text)
{
    int length = 0;
    while (text[length] != '\0')
        ++length;
    return length;
}

bool TextEquals(const char *a, const char *b)
{
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

bool CopyText(char *destination, int capacity, const char *source)
{
    int length = TextLength(source);
    if (length >= capacity)
        return false;
    for (int i = 0; i <= length; ++i)
        destination[i] = source[i];
    return true;
}

bool AppendText(char *destination, int capacity, const char *source)
{
    int used = TextLength(destination);
    if (used >= capacity)
        return false;
    return CopyText(destination + used, capacity - used, source);
}

const char *TextAfter(const char *text, const char *prefix)
{
    while (*prefix != '\0')
        if (*text++ != *prefix++)
            return 0;
    return text;
}
