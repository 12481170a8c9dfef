#include "uninstall_command.h"
#include "bounded_text.h"
#include "product.h"

static bool BuildWithPrefix(char *out, int capacity, const char *prefix, const char *shortInstallDir)
{
    if (capacity < 1)
        return false;
    out[0] = '\0';
    if (AppendText(out, capacity, prefix)
        && AppendText(out, capacity, "setupapi.dll,InstallHinfSection " TNP_UNINSTALL_SECTION " 128 ")
        && AppendText(out, capacity, shortInstallDir)
        && AppendText(out, capacity, TNP_UNINSTALL_SCRIPT))
        return true;
    out[0] = '\0';
    return false;
}

bool BuildUninstallCommand(char *out, int capacity, const char *shortInstallDir)
{
    return BuildWithPrefix(out, capacity, "rundll32.exe ", shortInstallDir);
}

bool BuildUninstallArguments(char *out, int capacity, const char *shortInstallDir)
{
    return BuildWithPrefix(out, capacity, "", shortInstallDir);
}

// Last position >= 1 holding `wanted`, or 0 when there is none; position 0 is never examined.
static int LastPositionFromOne(const char *text, int length, char wanted)
{
    for (int i = length - 1; i >= 1; --i)
        if (text[i] == wanted)
            return i;
    return 0;
}

void ParseUninstallString(const char *value, char *directory, int capacity)
{
    if (capacity < 1)
        return;
    directory[0] = '\0';
    int length = TextLength(value);
    int space = LastPositionFromOne(value, length, ' ');
    if (space == 0)
        return;
    const char *scriptPath = value + space + 1;
    int scriptLength = length - space - 1;
    if (scriptLength >= capacity)
        return;
    int backslash = LastPositionFromOne(scriptPath, scriptLength, '\\');
    if (backslash == 0)
        return;
    for (int i = 0; i < backslash; ++i)
        directory[i] = scriptPath[i];
    directory[backslash] = '\0';
}
