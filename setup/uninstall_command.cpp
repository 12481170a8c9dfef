#include "uninstall_command.h"
#include "bounded_text.h"
#include "product.h"

// The uninstall command is the runner, then the INF installer's section and mode, then the
// script's path.
static const char kInfSection[] = "setupapi.dll,InstallHinfSection " TNP_UNINSTALL_SECTION " 128 ";

static bool BuildWithPrefix(char *out, int capacity, const char *folder, const char *runner,
                            const char *shortInstallDir)
{
    if (capacity < 1)
        return false;
    out[0] = '\0';
    if (AppendText(out, capacity, folder) && AppendText(out, capacity, folder[0] != '\0' ? "\\" : "")
        && AppendText(out, capacity, runner) && AppendText(out, capacity, runner[0] != '\0' ? " " : "")
        && AppendText(out, capacity, kInfSection)
        && AppendText(out, capacity, shortInstallDir)
        && AppendText(out, capacity, TNP_UNINSTALL_SCRIPT))
        return true;
    out[0] = '\0';
    return false;
}

bool BuildUninstallCommand(char *out, int capacity, const char *wow64Folder, const char *shortInstallDir)
{
    return BuildWithPrefix(out, capacity, wow64Folder, TNP_UNINSTALL_RUNNER, shortInstallDir);
}

bool BuildUninstallArguments(char *out, int capacity, const char *shortInstallDir)
{
    return BuildWithPrefix(out, capacity, "", "", shortInstallDir);
}

// Last position >= 1 holding `wanted`, or 0 when there is none; position 0 is never taken.
static int LastPositionFromOne(const char *text, char wanted, LeadByteRule isLead)
{
    int position = FindLastChar(text, 1, wanted, isLead);
    return position != -1 ? position : 0;
}

// What follows the command's first word and its blank when that word is rundll32.exe, by name
// alone or at the end of a path; null otherwise.
static const char *AfterRunner(const char *text, LeadByteRule isLead)
{
    int nameStart = 0, end = 0;
    for (; text[end] != '\0' && text[end] != ' '; end = NextCharIndex(text, end, isLead))
        if (text[end] == '\\')
            nameStart = end + 1;
    if (text[end] != ' ' || end - nameStart != (int)sizeof TNP_UNINSTALL_RUNNER - 1)
        return 0;
    const char *rest = TextAfter(text + nameStart, TNP_UNINSTALL_RUNNER);
    return rest != 0 ? rest + 1 : 0;
}

// The script's path: the INF installer takes the whole rest of its own command line as the
// path, blanks included, as a volume without short names leaves them. Any other command keeps
// to its last word.
static const char *ScriptPathOf(const char *value, LeadByteRule isLead)
{
    const char *section = AfterRunner(value, isLead);
    const char *path = section != 0 ? TextAfter(section, kInfSection) : 0;
    if (path != 0)
        return path;
    int space = LastPositionFromOne(value, ' ', isLead);
    return space != 0 ? value + space + 1 : 0;
}

void ParseUninstallString(const char *value, char *directory, int capacity, LeadByteRule isLead)
{
    if (capacity < 1)
        return;
    directory[0] = '\0';
    const char *scriptPath = ScriptPathOf(value, isLead);
    if (scriptPath == 0)
        return;
    int scriptLength = TextLength(scriptPath);
    if (scriptLength >= capacity)
        return;
    int backslash = LastPositionFromOne(scriptPath, '\\', isLead);
    if (backslash == 0)
        return;
    for (int i = 0; i < backslash; ++i)
        directory[i] = scriptPath[i];
    directory[backslash] = '\0';
}
