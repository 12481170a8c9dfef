#include "uninstall_entry.h"
#include <windows.h>
#include "short_install_directory.h"
#include "../setup/messages.h"
#include "../setup/message_box.h"
#include "../setup/product.h"
#include "../setup/uninstall_command.h"

static LONG SetText(HKEY key, const char *name, const char *text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)text, (DWORD)lstrlenA(text) + 1);
}

void RegisterUninstallEntry(const char *installDir)
{
    HKEY key;
    DWORD disposition;
    LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, TNP_UNINSTALL_KEY, 0, (LPSTR)TNP_UNINSTALL_KEY_CLASS,
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &key, &disposition);
    if (result != ERROR_SUCCESS) {
        ShowWarning(MSG_ENTRY_NOT_REGISTERED, (int)result);
        return;
    }
    result = SetText(key, "DisplayName", TNP_DISPLAY_NAME);
    if (result == ERROR_SUCCESS) {
        char shortDir[TNP_TEXT_CAPACITY];
        char command[TNP_TEXT_CAPACITY];
        GetShortInstallDirectory(installDir, shortDir, sizeof shortDir);
        result = BuildUninstallCommand(command, sizeof command, shortDir)
                     ? SetText(key, "UninstallString", command)
                     : ERROR_INSUFFICIENT_BUFFER;
    }
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        ShowWarning(MSG_ENTRY_NOT_REGISTERED, (int)result);
}
