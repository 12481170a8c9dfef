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

// What follows `name` ("/S", "/D=" ...) at `word`, ASCII letters in either case; null where the
// word does not start with it. Blanks and quotes are never the second byte of a double-byte
// character, so the bytes can be compared as they come.
static const char *AfterSwitch(const char *word, const char *name)
{
    for (; *name != '\0'; ++word, ++name) {
        char c = *word >= 'a' && *word <= 'z' ? (char)(*word - 'a' + 'A') : *word;
        if (c != *name)
            return 0;
    }
    return word;
}

static const char *WordEnd(const char *p)
{
    while (*p != '\0' && !IsBlank(*p))
        ++p;
    return p;
}

// Copies [from, to) without the double quotes around it; false, with `out` empty, when that is
// nothing or does not fit: a name cut short would name another file.
static bool TakeValue(char *out, const char *from, const char *to)
{
    if (to - from >= 2 && *from == '"' && to[-1] == '"') {
        ++from;
        --to;
    }
    out[0] = '\0';
    if (to - from < 1 || to - from >= SWITCH_TEXT_CAPACITY)
        return false;
    int i = 0;
    for (; from < to; ++from)
        out[i++] = *from;
    out[i] = '\0';
    return true;
}

void ParseSwitches(const char *arguments, Switches &switches)
{
    switches.silent = switches.malformed = false;
    switches.directory[0] = switches.log[0] = '\0';
    for (const char *p = arguments;;) {
        while (IsBlank(*p))
            ++p;
        if (*p == '\0')
            return;
        const char *end = WordEnd(p);
        const char *value;
        if (*p != '/') {
            p = end;
            continue;
        }
        if ((value = AfterSwitch(p, "/D=")) != 0) {
            for (end = value; *end != '\0'; ++end) {}
            while (end > value && IsBlank(end[-1]))
                --end;
            switches.malformed |= !TakeValue(switches.directory, value, end);
            return;
        }
        if ((value = AfterSwitch(p, "/LOG=")) != 0) {
            end = value;
            if (*end == '"') {
                do
                    ++end;
                while (*end != '\0' && *end != '"');
                if (*end == '\0') {
                    switches.malformed = true;
                    return;
                }
            }
            end = WordEnd(end);
            switches.malformed |= !TakeValue(switches.log, value, end);
        } else if (end - p == 2 && AfterSwitch(p, "/S") != 0) {
            switches.silent = true;
        } else {
            switches.malformed = true;
        }
        p = end;
    }
}
