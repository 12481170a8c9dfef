#include "uninstall_entry.h"
#include "product_version.h"
#include "short_install_directory.h"
#include "../setup/bounded_text.h"
#include "../setup/messages.h"
#include "../setup/message_box.h"
#include "../setup/product.h"
#include "../setup/this_windows.h"
#include "../setup/uninstall_command.h"

// The command that runs tnp.inf, named by the short form of the install directory.
static bool ComposeUninstallString(char *command, const char *installDir)
{
    char shortDir[TNP_TEXT_CAPACITY];
    char wow64Folder[TNP_PATH_CAPACITY];
    GetShortInstallDirectory(installDir, shortDir, sizeof shortDir);
    GetWow64SystemFolder(wow64Folder, sizeof wow64Folder);
    return BuildUninstallCommand(command, TNP_TEXT_CAPACITY, wow64Folder, shortDir);
}

// Beside the name and the command, what Add/Remove Programs shows: the product's icon, version,
// folder and size, and no Change or Repair, which it has not; the same command as the quiet one,
// which deployment tools look for (the INF engine shows nothing), and the maker where the build
// names one (an empty text is not written). The texts come first, then the numbers; the first
// value the registry refuses ends the entry.
enum { ENTRY_TEXTS = 7, ENTRY_VALUES = 10 };
static const char kEntryValueNames[] = "DisplayName\0UninstallString\0DisplayIcon\0DisplayVersion\0"
                                       "InstallLocation\0QuietUninstallString\0Publisher\0"
                                       "EstimatedSize\0NoModify\0NoRepair";

static LONG SetEntryValues(HKEY key, const char *installDir, DWORD sizeKilobytes)
{
    char command[TNP_TEXT_CAPACITY];
    char icon[TNP_TEXT_CAPACITY] = "";
    if (!ComposeUninstallString(command, installDir) || !AppendText(icon, sizeof icon, installDir)
        || !AppendText(icon, sizeof icon, TNP_MAIN_EXECUTABLE))
        return ERROR_INSUFFICIENT_BUFFER;
    const DWORD yes = 1;
    const void *const data[ENTRY_VALUES] = {TNP_DISPLAY_NAME, command,    icon,           TNP_VERSION_TEXT, installDir,
                                            command,          TNP_PUBLISHER_TEXT, &sizeKilobytes, &yes, &yes};
    LONG result = ERROR_SUCCESS;
    const char *name = kEntryValueNames;
    for (int i = 0; i < ENTRY_VALUES && result == ERROR_SUCCESS; ++i, name += lstrlenA(name) + 1) {
        bool text = i < ENTRY_TEXTS;
        if (text && *(const char *)data[i] == '\0')
            continue;
        result = RegSetValueExA(key, name, 0, text ? REG_SZ : REG_DWORD, (const BYTE *)data[i],
                                text ? (DWORD)lstrlenA((const char *)data[i]) + 1 : sizeof(DWORD));
    }
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
    result = SetEntryValues(key, installDir, sizeKilobytes);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        ShowWarning(MSG_ENTRY_NOT_REGISTERED, (int)result);
}
