// The run sequence: detect an earlier installation, ask or search, then let the user install.
#include <windows.h>
#include <objbase.h>
#include "globals.h"
#include "messages.h"
#include "message_box.h"
#include "registry_text.h"
#include "run_log.h"
#include "run_outcome.h"
#include "single_run.h"
#include "uninstall_command.h"
#include "../search/search_dialog.h"
#include "../install/install_sequence.h"
#include "../install/select_dialog.h"

HINSTANCE g_instance;
char g_existingCopyDirectory[TNP_PATH_CAPACITY];
Switches g_switches;

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

// Nobody is there to close a box the system would show for a drive without a medium or a
// program that faults, so in a silent run it shows none.
static void KeepSystemBoxesAway()
{
    if (g_switches.silent)
        SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int)
{
    g_instance = instance;
    g_existingCopyDirectory[0] = '\0';
    ParseSwitches(arguments, g_switches);
    KeepSystemBoxesAway();
    OpenRunLog(arguments);
    if (g_switches.silent && g_switches.malformed) {
        LogFormat(LOG_BAD_SWITCHES, arguments);
        return EndRun(EXIT_BAD_COMMAND_LINE);
    }
    if (!TakeRunMutex()) {
        if (!g_switches.silent)
            BringOtherRunToFront();
        LogLine(LOG_ALREADY_RUNNING);
        return EndRun(EXIT_ALREADY_RUNNING);
    }
    if (FindEarlierInstallation()) {
        if (!AskYesNo(MSG_ALREADY_INSTALLED))
            return EndRun(EXIT_NOTHING_CHANGED);
    } else if (!g_switches.silent && g_switches.directory[0] == '\0') {
        // A deployment names its folder; scanning every drive of a server can take minutes.
        DialogBoxParamA(g_instance, "SEARCH", NULL, SearchDlgProc, 0);
    }
    // COM for the folder browser, the folder extensions it loads and the links, all on this thread;
    // ended only where this call began it, as a thread left in another mode refuses it.
    bool com = SUCCEEDED(CoInitialize(NULL));
    if (g_switches.silent)
        RunSilentInstall();
    else
        DialogBoxParamA(g_instance, "SELECT", NULL, SelectDlgProc, 0);
    if (com)
        CoUninitialize();
    return EndRunAsRecorded();
}
