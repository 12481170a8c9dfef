// The run sequence: detect an earlier installation, ask or search, then let the user install.
#include <windows.h>
#include "globals.h"
#include "messages.h"
#include "message_box.h"
#include "uninstall_command.h"
#include "../search/search_dialog.h"
#include "../install/select_dialog.h"

HINSTANCE g_instance;
char g_existingCopyDirectory[TNP_PATH_CAPACITY];

// Reads "UninstallString" as a NUL-terminated text; a value that is missing, not a string or
// too long for the buffer reads as the empty text.
static void ReadUninstallString(HKEY key, char *text, DWORD capacity)
{
    DWORD type = 0;
    DWORD size = capacity;
    text[0] = '\0';
    if (RegQueryValueExA(key, "UninstallString", NULL, &type, (BYTE *)text, &size) != ERROR_SUCCESS
        || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        text[0] = '\0';
        return;
    }
    if (size > 0 && text[size - 1] == '\0')
        return;
    if (size >= capacity) {  // unterminated and no room left for the terminator
        text[0] = '\0';
        return;
    }
    text[size] = '\0';
}

// True when the uninstall entry opens; the existing-copy directory is then taken from it.
static bool FindEarlierInstallation()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, TNP_UNINSTALL_KEY, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return false;
    char value[TNP_TEXT_CAPACITY];
    ReadUninstallString(key, value, sizeof value);
    ParseUninstallString(value, g_existingCopyDirectory, sizeof g_existingCopyDirectory, SystemLeadByte);
    RegCloseKey(key);
    return true;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    g_instance = instance;
    g_existingCopyDirectory[0] = '\0';
    if (FindEarlierInstallation()) {
        if (!AskYesNo(MSG_ALREADY_INSTALLED))
            return 0;
    } else {
        DialogBoxParamA(g_instance, "SEARCH", NULL, SearchDlgProc, 0);
    }
    DialogBoxParamA(g_instance, "SELECT", NULL, SelectDlgProc, 0);
    return 0;
}
