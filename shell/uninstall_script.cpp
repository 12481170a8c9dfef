#include "uninstall_script.h"
#include <windows.h>
#include "audio_cd.h"
#include "uninstall_script_text.h"
#include "../payload/payload_table.h"
#include "../setup/bounded_text.h"
#include "../setup/folders.h"
#include "../setup/messages.h"
#include "../setup/message_box.h"
#include "../setup/path_chars.h"
#include "../setup/product.h"
#include "../setup/this_windows.h"
#include "../setup/write_whole_or_nothing.h"

// The whole script, composed before anything is written, and the first error met composing it;
// once a piece has not fitted the rest are not added. Room for the longest Windows directory
// in each of the three rows that name it, or for the longest values given back.
struct ScriptText {
    char text[SCRIPT_CAPACITY];
    DWORD error;
};

static void AddPiece(ScriptText &script, const char *piece, bool composed)
{
    if (script.error != 0)
        return;
    if (!composed || !AppendText(script.text, sizeof script.text, piece))
        script.error = ERROR_INSUFFICIENT_BUFFER;
}

// The short form of a folder as the system gives it, or "" when it gives none (a folder that
// was never made). The short form of a trailing backslash is not wanted.
static void GetShortFolder(const char *folder, char *shortFolder)
{
    DWORD length = GetShortPathNameA(folder, shortFolder, TNP_TEXT_CAPACITY);
    if (length == 0 || length >= TNP_TEXT_CAPACITY) {
        shortFolder[0] = '\0';
        return;
    }
    if (length > 3 && EndsWithBackslash(shortFolder, SystemLeadByte))
        shortFolder[length - 1] = '\0';
}

// The Windows directory in the short form the link folders' rows are measured against.
static void GetShortWindowsDirectory(char *shortWindowsDir)
{
    char windowsDir[TNP_TEXT_CAPACITY] = "";
    GetWindowsDirectoryA(windowsDir, TNP_PATH_CAPACITY);
    GetShortFolder(windowsDir, shortWindowsDir);
}

// The desktop row's folder is the shell's folder itself, whose short form is asked for once.
static bool ComposeRow(char *text, LinkFolderRow row, bool ntLayout, const char *folder, const LinkFolder &shellFolder,
                       const char *shortWindowsDir)
{
    char shortFolder[TNP_TEXT_CAPACITY], shortShellFolder[TNP_TEXT_CAPACITY];
    GetShortFolder(shellFolder.path, shortShellFolder);
    const char *shortOfFolder = shortShellFolder;
    if (folder != shellFolder.path) {
        GetShortFolder(folder, shortFolder);
        shortOfFolder = shortFolder;
    }
    LinkFolderPlace place = {shortOfFolder, shortShellFolder, shellFolder.csidl, shortWindowsDir};
    return ComposeLinkFolderRow(text, TNP_TEXT_CAPACITY, row, ntLayout, place, SystemLeadByte);
}

static bool GivesBack(const AudioCdValue &value)
{
    return value.type == REG_SZ || value.type == REG_EXPAND_SZ;
}

// The rows that give audio CDs back: to the CD Player where the tool directory has it, as they
// always have been; else to what played them when setup ran, deleting the keys that were not there.
static void AddAudioCdRows(ScriptText &script, bool cdPlayer, const AudioCdValue *players, bool sets, bool removes,
                           bool ntLayout)
{
    char text[AUDIO_CD_ROW_CAPACITY];
    if (sets)
        AddPiece(script, text, ComposeSectionStart(text, sizeof text, "[TNP_SetCDPlayer]"));
    for (int key = 0; key < AUDIO_CD_KEYS && sets; ++key) {
        if (cdPlayer) {
            // Room for any Windows directory the system can return, so no row is ever left
            // unfilled; empty, never undefined, when it returns none.
            char windowsDir[TNP_TEXT_CAPACITY] = "";
            GetWindowsDirectoryA(windowsDir, TNP_PATH_CAPACITY);
            AddPiece(script, text, ComposeCdPlayerRow(text, sizeof text, key, windowsDir, ntLayout));
        } else if (GivesBack(players[key])) {
            AddPiece(script, text, ComposeAudioCdValueRow(text, sizeof text, key, players[key]));
        }
    }
    if (removes)
        AddPiece(script, text, ComposeSectionStart(text, sizeof text, "[TNP_DelCDPlayer]"));
    for (int key = 0; key < AUDIO_CD_KEYS && removes; ++key)
        if (players[key].type == 0)
            AddPiece(script, text, ComposeAudioCdRemovalRow(text, sizeof text, key));
}

bool WriteUninstallScript(const LinkFolders &folders, bool ntLayout, bool desktop, const char *installDir)
{
    // Too big for a frame, as the values given back are: see the code options.
    static ScriptText script;
    script.text[0] = '\0';
    script.error = 0;
    // By its full path: the install directory may not have become the current one.
    char scriptPath[TNP_TEXT_CAPACITY];
    lstrcpynA(scriptPath, installDir, TNP_PATH_CAPACITY);
    lstrcatA(scriptPath, TNP_UNINSTALL_SCRIPT);
    static AudioCdValue players[AUDIO_CD_KEYS];
    bool cdPlayer = ToolDirectoryHasCdPlayer(ntLayout);
    bool sets = cdPlayer, removes = false;
    if (!cdPlayer) {
        FindWhatPlaysAudioCds(players, installDir, scriptPath);
        for (int key = 0; key < AUDIO_CD_KEYS; ++key) {
            sets = sets || GivesBack(players[key]);
            removes = removes || players[key].type == 0;
        }
    }
    // A reinstall without the desktop link keeps the rows of the one an earlier run left there:
    // the uninstall entry names only this run's script, so no other uninstall would remove it.
    char text[TNP_TEXT_CAPACITY];
    if (!desktop && BuildDesktopLinkFile(text, sizeof text, folders.desktop.path, SystemLeadByte))
        desktop = GetFileAttributesA(text) != INVALID_FILE_ATTRIBUTES;
    AddPiece(script, text, ComposeScriptHead(text, sizeof text, desktop, sets, removes));
    char shortWindowsDir[TNP_TEXT_CAPACITY];
    GetShortWindowsDirectory(shortWindowsDir);
    char group[TNP_TEXT_CAPACITY];
    if (!BuildProgramGroupFolder(group, sizeof group, folders.programs.path, SystemLeadByte))
        group[0] = '\0';
    AddPiece(script, text, ComposeRow(text, ROW_PROGRAM_GROUP, ntLayout, group, folders.programs, shortWindowsDir));
    if (desktop)
        AddPiece(script, text,
                 ComposeRow(text, ROW_DESKTOP, ntLayout, folders.desktop.path, folders.desktop, shortWindowsDir));
    AddPiece(script, text, ComposeScriptFilesHead(text, sizeof text));
    for (int i = 0; i < PAYLOAD_ROW_COUNT; ++i)
        AddPiece(script, text, ComposeNameLine(text, sizeof text, g_payloadTable[i].fileName, ""));
    AddPiece(script, text, ComposeSectionStart(text, sizeof text, "[TNP_DelLinks]"));
    for (int i = 0; i < PAYLOAD_ROW_COUNT; ++i)
        if (g_payloadTable[i].shortcutName != 0)
            AddPiece(script, text, ComposeNameLine(text, sizeof text, g_payloadTable[i].shortcutName, ".lnk"));
    AddPiece(script, text, ComposeNameLine(text, sizeof text, TNP_UNINSTALL_LINK, ""));
    AddAudioCdRows(script, cdPlayer, players, sets, removes, ntLayout);
    if (desktop)
        AddPiece(script, text, ComposeDesktopSection(text, sizeof text));
    const char *name = TNP_UNINSTALL_SCRIPT;
    ReplacedFiles file = {installDir, &name, SCRIPT_SLOT, 1};
    if (script.error == 0)
        script.error = WriteWholeOrNothing(file, script.text, (DWORD)lstrlenA(script.text));
    if (script.error != 0) {
        ShowWarning(MSG_SCRIPT_NOT_WRITTEN, scriptPath, (int)script.error);
        return false;
    }
    return true;
}
