#include "uninstall_script.h"
#include <windows.h>
#include "uninstall_script_text.h"
#include "../payload/payload_table.h"
#include "../setup/folders.h"
#include "../setup/messages.h"
#include "../setup/message_box.h"
#include "../setup/path_chars.h"
#include "../setup/product.h"

// The open script and the first error met while writing it; once one write has failed the
// rest are not attempted.
struct ScriptFile {
    HANDLE handle;
    DWORD error;
};

static void WritePiece(ScriptFile &script, const char *text, bool composed)
{
    if (script.error != 0)
        return;
    if (!composed) {
        script.error = ERROR_INSUFFICIENT_BUFFER;
        return;
    }
    DWORD length = (DWORD)lstrlenA(text);
    DWORD written = 0;
    if (!WriteFile(script.handle, text, length, &written, NULL))
        script.error = GetLastError();
    else if (written != length)
        script.error = ERROR_WRITE_FAULT;
}

static void ReportFailure(const char *installDir, DWORD error)
{
    char path[TNP_TEXT_CAPACITY];
    lstrcpynA(path, installDir, TNP_PATH_CAPACITY);
    lstrcatA(path, TNP_UNINSTALL_SCRIPT);
    ShowWarning(MSG_SCRIPT_NOT_WRITTEN, path, (int)error);
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

static bool ComposeRow(char *text, LinkFolderRow row, bool ntLayout, const char *folder, const LinkFolder &shellFolder)
{
    char shortFolder[TNP_TEXT_CAPACITY], shortShellFolder[TNP_TEXT_CAPACITY], shortWindowsDir[TNP_TEXT_CAPACITY];
    char windowsDir[TNP_TEXT_CAPACITY] = "";
    GetWindowsDirectoryA(windowsDir, TNP_PATH_CAPACITY);
    GetShortFolder(windowsDir, shortWindowsDir);
    GetShortFolder(folder, shortFolder);
    GetShortFolder(shellFolder.path, shortShellFolder);
    LinkFolderPlace place = {shortFolder, shortShellFolder, shellFolder.csidl, shortWindowsDir};
    return ComposeLinkFolderRow(text, TNP_TEXT_CAPACITY, row, ntLayout, place, SystemLeadByte);
}

void WriteUninstallScript(const LinkFolders &folders, bool ntLayout, bool desktop, const char *installDir)
{
    ScriptFile script;
    script.handle = CreateFileA(TNP_UNINSTALL_SCRIPT, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (script.handle == INVALID_HANDLE_VALUE) {
        ReportFailure(installDir, GetLastError());
        return;
    }
    script.error = 0;
    char text[TNP_TEXT_CAPACITY];
    WritePiece(script, text, ComposeScriptHead(text, sizeof text, desktop));
    char group[TNP_TEXT_CAPACITY];
    if (!BuildProgramGroupFolder(group, sizeof group, folders.programs.path))
        group[0] = '\0';
    WritePiece(script, text, ComposeRow(text, ROW_PROGRAM_GROUP, ntLayout, group, folders.programs));
    if (desktop)
        WritePiece(script, text, ComposeRow(text, ROW_DESKTOP, ntLayout, folders.desktop.path, folders.desktop));
    WritePiece(script, text, ComposeScriptFilesHead(text, sizeof text));
    for (int i = 0; i < PAYLOAD_ROW_COUNT; ++i)
        WritePiece(script, text, ComposeNameLine(text, sizeof text, g_payloadTable[i].fileName, ""));
    WritePiece(script, text, ComposeSectionStart(text, sizeof text, "[TNP_DelLinks]"));
    for (int i = 0; i < PAYLOAD_ROW_COUNT; ++i)
        if (g_payloadTable[i].shortcutName != 0)
            WritePiece(script, text, ComposeNameLine(text, sizeof text, g_payloadTable[i].shortcutName, ".lnk"));
    WritePiece(script, text, ComposeNameLine(text, sizeof text, TNP_UNINSTALL_LINK, ""));
    WritePiece(script, text, ComposeSectionStart(text, sizeof text, "[TNP_SetCDPlayer]"));
    for (int row = 0; row < 3; ++row) {
        // Room for any Windows directory the system can return, so no row is ever left unfilled;
        // empty, never undefined, when it returns none.
        char windowsDir[TNP_TEXT_CAPACITY] = "";
        GetWindowsDirectoryA(windowsDir, TNP_PATH_CAPACITY);
        WritePiece(script, text, ComposeCdPlayerRow(text, sizeof text, row, windowsDir, ntLayout));
    }
    if (desktop)
        WritePiece(script, text, ComposeDesktopSection(text, sizeof text));
    CloseHandle(script.handle);
    if (script.error != 0)
        ReportFailure(installDir, script.error);
}
