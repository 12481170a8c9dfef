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

bool ComposeScriptHead(char *out, int capacity, bool ntLayout, bool desktop)
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
        ntLayout ? "TNP_DelLinks=10,profiles\\alluse~1\\startm~1\\programs\\tonepi~1\r\n"
                 : "TNP_DelLinks=10,startm~1\\programs\\tonepi~1\r\n",
        !desktop ? "" : ntLayout ? "TNP_DelDesktop=10,profiles\\alluse~1\\Desktop\r\n" : "TNP_DelDesktop=10,Desktop\r\n",
        "\r\n"
        "[TNP_DelRegUninstall]\r\n"
        "HKLM,\"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tone Pilot\"\r\n"
        "\r\n"
        "[TNP_DelFiles]\r\n"
        "tnp.inf\r\n",
    };
    return Compose(out, capacity, pieces, sizeof pieces / sizeof pieces[0]);
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
