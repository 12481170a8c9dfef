#include "uninstall_script_text.h"
#include "../setup/bounded_text.h"
#include "../setup/folders.h"

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

bool ComposeScriptHead(char *out, int capacity, bool desktop, bool setsAudioCd, bool removesAudioCd)
{
    const char *const pieces[] = {
        "[Version]\r\n"
        "Signature=\"$CHICAGO$\"\r\n"
        "\r\n"
        "[Uninstall_TNP]\r\n"
        "DelReg=TNP_DelRegUninstall\r\n"
        "DelFiles=TNP_DelFiles\r\n"
        "DelFiles=TNP_DelLinks\r\n",
        setsAudioCd ? "AddReg=TNP_SetCDPlayer\r\n" : "",
        removesAudioCd ? "DelReg=TNP_DelCDPlayer\r\n" : "",
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
        "HKLM,\"",
        TNP_UNINSTALL_KEY,
        "\"\r\n"
        "\r\n"
        "[TNP_DelFiles]\r\n" TNP_UNINSTALL_SCRIPT "\r\n",
    };
    return Compose(out, capacity, pieces, 3);
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
    // shell32.dll is in the system folder, which on the 95 family is not the tool directory.
    const char *tools = ToolSubdirectory(ntLayout);
    const char *const rows[3][3] = {
        {"HKCR,AudioCD\\shell\\play\\command,,,", tools, "\\cdplayer.exe /Play %1\r\n"},
        {"HKCR,AudioCD\\DefaultIcon,,,", ntLayout ? tools : "\\system", "\\shell32.dll,40\r\n"},
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

const char *const kAudioCdKeys[AUDIO_CD_KEYS] = {"AudioCD\\shell\\play\\command", "AudioCD\\DefaultIcon",
                                                 "cdafile\\shell\\play\\command"};

// The start of a value row: the key, no value name (the default value), then the type's flags
// (none for REG_SZ, FLG_ADDREG_TYPE_EXPAND_SZ) and the opening quote.
static const char kHkcr[] = "HKCR,";
static const char *const kValueTypeFields[3] = {"", ",,,\"", ",,0x00020000,\""};

bool ComposeAudioCdValueRow(char *out, int capacity, int key, const AudioCdValue &value)
{
    if (value.type < 1 || value.type > 2) {
        if (capacity > 0)
            out[0] = '\0';
        return false;
    }
    const char *const start[] = {kHkcr, kAudioCdKeys[key], kValueTypeFields[value.type]};
    if (!Compose(out, capacity, start, 3))
        return false;
    // Within quotes a quote is doubled; a percent sign is doubled everywhere, or the INF engine
    // would take the text up to the next one for the name of a string to put in its place.
    bool fits = true;
    for (const char *c = value.text; *c != '\0' && fits; ++c) {
        if (*c == '\r' || *c == '\n')
            fits = false;
        else if (*c == '"')
            fits = AppendText(out, capacity, "\"\"");
        else if (*c == '%')
            fits = AppendText(out, capacity, "%%");
        else {
            const char one[2] = {*c, '\0'};
            fits = AppendText(out, capacity, one);
        }
    }
    if (fits && AppendText(out, capacity, "\"\r\n"))
        return true;
    out[0] = '\0';
    return false;
}

bool ComposeAudioCdRemovalRow(char *out, int capacity, int key)
{
    const char *const pieces[] = {kHkcr, kAudioCdKeys[key], kLineEnd};
    return Compose(out, capacity, pieces, 3);
}

// The quoted text of a value row, from just after its opening quote to the end of its line, back
// into `value`; false where it is not as a value row is composed.
static bool Unquote(const char *quoted, AudioCdValue &value)
{
    int length = 0;
    for (const char *c = quoted; length < TNP_TEXT_CAPACITY - 1; ++c) {
        if (*c == '"' && c[1] != '"') {
            value.text[length] = '\0';
            return c[1] == '\r' || c[1] == '\n' || c[1] == '\0';
        }
        if ((*c == '"' || *c == '%') && c[1] == *c)
            ++c;
        else if (*c == '%' || *c == '\r' || *c == '\n' || *c == '\0')
            return false;
        value.text[length++] = *c;
    }
    return false;
}

bool FindAudioCdRecord(const char *script, int key, AudioCdValue &value)
{
    const char *section = "";
    for (const char *line = script; *line != '\0';) {
        if (line[0] == '[')
            section = line;
        const char *row = TextAfter(line, kHkcr);
        row = row != 0 ? TextAfter(row, kAudioCdKeys[key]) : 0;
        if (row != 0 && TextAfter(section, "[TNP_SetCDPlayer]") != 0) {
            for (unsigned long type = 1; type <= 2; ++type) {
                const char *quoted = TextAfter(row, kValueTypeFields[type]);
                value.type = type;
                if (quoted != 0 && Unquote(quoted, value))
                    return true;
            }
        }
        if (row != 0 && TextAfter(section, "[TNP_DelCDPlayer]") != 0 && (row[0] == '\r' || row[0] == '\n' || row[0] == '\0')) {
            value.type = 0;
            value.text[0] = '\0';
            return true;
        }
        while (*line != '\0' && *line != '\n')
            ++line;
        if (*line == '\n')
            ++line;
    }
    value.type = 0;
    value.text[0] = '\0';
    return false;
}
