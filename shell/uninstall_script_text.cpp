#include "uninstall_script_text.h"
#include "../setup/bounded_text.h"

static const char kLineEnd[] = "\r\n";

static bool Compose(char *out, int capacity, const char *const *pieces, int count)
{
    if (capacity < 1)
        return false;
    out[0] = '\0';
    for (int i = 0; i < count; ++i)
        if (!AppendText(out, capacity, pieces[i])) {
            out[0] = '\0';
            return false;
        }
    return true;
}

bool ComposeScriptHead(char *out, int capacity, bool desktop)
{
    const char *const pieces[] = {
        "[Version]\r\n"
        "Signature=\"$CHICAGO$\"\r\n"
        "\r\n"
        "[Uninstall_TNP]\r\n"
        "DelReg=TNP_DelRegUninstall\r\n"
        "DelFiles=TNP_DelFiles\r\n"
        "DelFiles=TNP_DelLinks\r\n"
        "AddReg=TNP_SetCDPlayer\r\n",
        desktop ? "DelFiles=TNP_DelDesktop\r\n" : "",
        "\r\n"
        "[DestinationDirs]\r\n"
        "TNP_DelFiles=01\r\n",
    };
    return Compose(out, capacity, pieces, sizeof pieces / sizeof pieces[0]);
}

// The rows English Windows 95 and NT 4 have always been given; their real short names.
static const char *const kRowKeys[2] = {"TNP_DelLinks=", "TNP_DelDesktop="};
static const char *const kKnownShortPaths[2][2] = {
    {"startm~1\\programs\\tonepi~1", "profiles\\alluse~1\\startm~1\\programs\\tonepi~1"},
    {"Desktop", "profiles\\alluse~1\\Desktop"},
};

// Writes a directory id of at most five digits.
static void FormatDirid(char *out, int dirid)
{
    char digits[6];
    int count = 0;
    do {
        digits[count++] = (char)('0' + dirid % 10);
        dirid /= 10;
    } while (dirid > 0 && count < 5);
    for (int i = 0; i < count; ++i)
        out[i] = digits[count - 1 - i];
    out[count] = '\0';
}

// Under the Windows directory the INF engine of every Windows finds the folder through DIRID 10
// and the short path, the one form Windows 95's takes. A folder elsewhere is one of Windows 2000
// or later, whose INF engine knows the shell folders as DIRID 16384 + CSIDL; that names the
// folder on any drive and any language without an absolute path in the script.
bool ComposeLinkFolderRow(char *out, int capacity, LinkFolderRow row, bool ntLayout, const LinkFolderPlace &place,
                          LeadByteRule isLead)
{
    const char *known = kKnownShortPaths[row][ntLayout ? 1 : 0];
    const char *below = known;
    char dirid[6] = "10";
    int index = -1;
    if (place.shortFolder[0] != '\0')
        index = IndexBelowFolder(place.shortFolder, place.shortWindowsDir, isLead);
    if (index >= 0) {
        below = place.shortFolder + index;
        if (IndexBelowFolder(below, known, isLead) == TextLength(below))  // the same apart from letter case
            below = known;
    } else if (place.shortFolder[0] != '\0' && place.csidl != 0
               && (index = IndexBelowFolder(place.shortFolder, place.shortShellFolder, isLead)) >= 0) {
        FormatDirid(dirid, 16384 + place.csidl);
        below = place.shortFolder + index;
    }
    const char *const pieces[] = {kRowKeys[row], dirid, below[0] != '\0' ? "," : "", below, kLineEnd};
    return Compose(out, capacity, pieces, 5);
}

bool ComposeScriptFilesHead(char *out, int capacity)
{
    const char *const pieces[] = {
        "\r\n"
        "[TNP_DelRegUninstall]\r\n"
        "HKLM,\"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tone Pilot\"\r\n"
        "\r\n"
        "[TNP_DelFiles]\r\n"
        "tnp.inf\r\n",
    };
    return Compose(out, capacity, pieces, 1);
}

bool ComposeNameLine(char *out, int capacity, const char *name, const char *suffix)
{
    const char *const pieces[] = {name, suffix, kLineEnd};
    return Compose(out, capacity, pieces, 3);
}

bool ComposeSectionStart(char *out, int capacity, const char *header)
{
    const char *const pieces[] = {kLineEnd, header, kLineEnd};
    return Compose(out, capacity, pieces, 3);
}

bool ComposeCdPlayerRow(char *out, int capacity, int row, const char *windowsDir, bool ntLayout)
{
    const char *tools = ntLayout ? "\\system32" : "";
    const char *const rows[3][3] = {
        {"HKCR,AudioCD\\shell\\play\\command,,,", tools, "\\cdplayer.exe /Play %1\r\n"},
        {"HKCR,AudioCD\\DefaultIcon,,,", ntLayout ? "\\system32" : "\\system", "\\shell32.dll,40\r\n"},
        {"HKCR,cdafile\\shell\\play\\command,,,", tools, "\\cdplayer.exe -Play %1\r\n"},
    };
    if (row < 0 || row > 2) {
        if (capacity > 0)
            out[0] = '\0';
        return false;
    }
    const char *const pieces[] = {rows[row][0], windowsDir, rows[row][1], rows[row][2]};
    return Compose(out, capacity, pieces, 4);
}

bool ComposeDesktopSection(char *out, int capacity)
{
    const char *const pieces[] = {"\r\n[TNP_DelDesktop]\r\nTone Pilot.lnk\r\n"};
    return Compose(out, capacity, pieces, 1);
}
