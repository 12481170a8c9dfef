#include "uninstall_entry.h"
#include "product_version.h"
#include "short_install_directory.h"
#include "../setup/bounded_text.h"
#include "../setup/messages.h"
#include "../setup/message_box.h"
#include "../setup/product.h"
#include "../setup/this_windows.h"
#include "../setup/uninstall_command.h"

static LONG SetText(HKEY key, const char *name, const char *text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)text, (DWORD)lstrlenA(text) + 1);
}

static LONG SetNumber(HKEY key, const char *name, DWORD number)
{
    return RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE *)&number, sizeof number);
}

// The command that runs tnp.inf, named by the short form of the install directory.
static LONG SetUninstallString(HKEY key, const char *installDir)
{
    char shortDir[TNP_TEXT_CAPACITY];
    char wow64Folder[TNP_PATH_CAPACITY];
    char command[TNP_TEXT_CAPACITY];
    GetShortInstallDirectory(installDir, shortDir, sizeof shortDir);
    GetWow64SystemFolder(wow64Folder, sizeof wow64Folder);
    if (!BuildUninstallCommand(command, sizeof command, wow64Folder, shortDir))
        return ERROR_INSUFFICIENT_BUFFER;
    return SetText(key, "UninstallString", command);
}

// What Add/Remove Programs shows beside the name: the product's icon, version, folder and size,
// and no Change or Repair, which it has not.
static LONG SetDetails(HKEY key, const char *installDir, DWORD sizeKilobytes)
{
    char icon[TNP_TEXT_CAPACITY] = "";
    if (!AppendText(icon, sizeof icon, installDir) || !AppendText(icon, sizeof icon, TNP_MAIN_EXECUTABLE))
        return ERROR_INSUFFICIENT_BUFFER;
    LONG result = SetText(key, "DisplayIcon", icon);
    if (result == ERROR_SUCCESS)
        result = SetText(key, "DisplayVersion", TNP_VERSION_TEXT);
    if (result == ERROR_SUCCESS)
        result = SetText(key, "InstallLocation", installDir);
    if (result == ERROR_SUCCESS)
        result = SetNumber(key, "EstimatedSize", sizeKilobytes);
    if (result == ERROR_SUCCESS)
        result = SetNumber(key, "NoModify", 1);
    if (result == ERROR_SUCCESS)
        result = SetNumber(key, "NoRepair", 1);
    return result;
}

void RegisterUninstallEntry(const char *installDir, DWORD sizeKilobytes)
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
    if (result == ERROR_SUCCESS)
        result = SetUninstallString(key, installDir);
    if (result == ERROR_SUCCESS)
        result = SetDetails(key, installDir, sizeKilobytes);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        ShowWarning(MSG_ENTRY_NOT_REGISTERED, (int)result);
}
