#include "folders.h"
#include "bounded_text.h"
#include "product.h"

static const char kAllUsersProfile[] = "\\Profiles\\All Users";
static const char kProgramsFolder[] = "\\Start Menu\\Programs";
static const char kDesktopFolder[] = "\\Desktop";
static const char kProgramGroup[] = "\\Tone Pilot\\";
static const char kDesktopLink[] = "\\Tone Pilot.lnk";
static const char kNtToolSubdirectory[] = "\\system32";

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

bool BuildProgramGroupFolder(char *out, int capacity, const char *programsFolder)
{
    return Join(out, capacity, programsFolder, kProgramGroup, "");
}

bool BuildDesktopLinkFile(char *out, int capacity, const char *desktopFolder)
{
    return Join(out, capacity, desktopFolder, kDesktopLink, "");
}

bool BuildBrowsedInstallDirectory(char *out, int capacity, const char *pickedFolder, LeadByteRule isLead)
{
    bool endsWithBackslash = EndsWithBackslash(pickedFolder, isLead);
    return Join(out, capacity, pickedFolder, TNP_BROWSE_SUFFIX + (endsWithBackslash ? 1 : 0), "");
}

bool BuildRundll32Path(char *out, int capacity, const char *windowsDir, bool ntLayout)
{
    return Join(out, capacity, windowsDir, ntLayout ? kNtToolSubdirectory : "", "\\rundll32.exe");
}
