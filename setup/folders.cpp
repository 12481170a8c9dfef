#include "folders.h"
#include "bounded_text.h"
#include "product.h"

static const char kAllUsersProfile[] = "\\Profiles\\All Users";
static const char kProgramsFolder[] = "\\Start Menu\\Programs";
static const char kDesktopFolder[] = "\\Desktop";
static const char kProgramGroup[] = "\\Tone Pilot\\";
static const char kDesktopLink[] = "\\Tone Pilot.lnk";
const char *ToolSubdirectory(bool ntLayout)
{
    return ntLayout ? "\\system32" : "";
}
static const char kEnglishProgramFiles[] = "C:\\Program Files";

bool IsNtLayout(unsigned long platformId)
{
    return platformId == 2;  // VER_PLATFORM_WIN32_NT
}

// Joins the pieces; on overflow the result is empty so no half path is ever used.
static bool Join(char *out, int capacity, const char *a, const char *b, const char *c,
                 const char *d = "")
{
    if (capacity < 1)
        return false;
    out[0] = '\0';
    if (AppendText(out, capacity, a) && AppendText(out, capacity, b) && AppendText(out, capacity, c)
        && AppendText(out, capacity, d))
        return true;
    out[0] = '\0';
    return false;
}

bool BuildComposedProgramsFolder(char *out, int capacity, const char *windowsDir, bool ntLayout)
{
    return Join(out, capacity, windowsDir, ntLayout ? kAllUsersProfile : "", kProgramsFolder);
}

bool BuildComposedDesktopFolder(char *out, int capacity, const char *windowsDir, bool ntLayout)
{
    return Join(out, capacity, windowsDir, ntLayout ? kAllUsersProfile : "", kDesktopFolder);
}

// `name` (given with a leading backslash) in `folder`. A drive root such as "D:\" already ends
// with its backslash, and the shell or the browser may name one.
static bool JoinBelow(char *out, int capacity, const char *folder, const char *name, LeadByteRule isLead)
{
    return Join(out, capacity, folder, name + (EndsWithBackslash(folder, isLead) ? 1 : 0), "");
}

bool BuildProgramGroupFolder(char *out, int capacity, const char *programsFolder, LeadByteRule isLead)
{
    return JoinBelow(out, capacity, programsFolder, kProgramGroup, isLead);
}

bool BuildDesktopLinkFile(char *out, int capacity, const char *desktopFolder, LeadByteRule isLead)
{
    return JoinBelow(out, capacity, desktopFolder, kDesktopLink, isLead);
}

bool BuildBrowsedInstallDirectory(char *out, int capacity, const char *pickedFolder, LeadByteRule isLead)
{
    return JoinBelow(out, capacity, pickedFolder, TNP_BROWSE_SUFFIX, isLead);
}

bool BuildToolPath(char *out, int capacity, const char *windowsDir, bool ntLayout, const char *program)
{
    return Join(out, capacity, windowsDir, ToolSubdirectory(ntLayout), "\\", program);
}

bool BuildUninstallRunnerPath(char *out, int capacity, const char *windowsDir, bool ntLayout, const char *wow64Folder)
{
    if (wow64Folder[0] != '\0')
        return Join(out, capacity, wow64Folder, "\\", TNP_UNINSTALL_RUNNER);
    return BuildToolPath(out, capacity, windowsDir, ntLayout, TNP_UNINSTALL_RUNNER);
}

void BuildDefaultInstallDirectory(char *out, int capacity, const char *programFilesFolder, LeadByteRule isLead)
{
    bool english = IndexBelowFolder(programFilesFolder, kEnglishProgramFiles, isLead) == TextLength(programFilesFolder);
    if (programFilesFolder[0] != '\0' && !english && JoinBelow(out, capacity, programFilesFolder, TNP_BROWSE_SUFFIX, isLead))
        return;
    if (!CopyText(out, capacity, TNP_DEFAULT_INSTALL_DIR) && capacity > 0)
        out[0] = '\0';
}
