// The run sequence: detect an earlier installation, ask or search, then let the user install.
#include <windows.h>
#include <objbase.h>
#include "globals.h"
#include "messages.h"
#include "message_box.h"
#include "registry_text.h"
#include "uninstall_command.h"
#include "../search/search_dialog.h"
#include "../install/select_dialog.h"

HINSTANCE g_instance;
char g_existingCopyDirectory[TNP_PATH_CAPACITY];

// True when the uninstall entry opens; the existing-copy directory is then taken from it.
static bool FindEarlierInstallation()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, TNP_UNINSTALL_KEY, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return false;
    char value[TNP_TEXT_CAPACITY];
    ReadRegistryText(key, "UninstallString", value, sizeof value);
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
    // COM for the folder browser, the folder extensions it loads and the links, all on this thread;
    // ended only where this call began it, as a thread left in another mode refuses it.
    bool com = SUCCEEDED(CoInitialize(NULL));
    DialogBoxParamA(g_instance, "SELECT", NULL, SelectDlgProc, 0);
    if (com)
        CoUninitialize();
    return 0;
}
