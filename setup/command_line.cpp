#include "command_line.h"

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

const char *SkipProgramName(const char *commandLine)
{
    const char *p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"')
            ++p;
        if (*p == '"')
            ++p;
    } else {
        while (*p != '\0' && !IsBlank(*p))
            ++p;
    }
    while (IsBlank(*p))
        ++p;
    return p;
}
