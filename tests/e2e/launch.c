/* Starts what Windows starts for a user, as the system's own programs of this build's kind do,
   and waits for it: "run <text>" as one raw command line, as Add/Remove Programs starts an
   uninstall command; "open <link>" as the shell opens a link to a program: its target with its
   arguments, the target's path taken as this program's kind takes it (Wine's shell hands back no
   process of a link it opens, so that could not be waited for). Exits with 0 once it has ended,
   1 when nothing started, 2 when it did not end. */
#define COBJMACROS
#include <windows.h>
#include <shlobj.h>
#include <stdio.h>
#include <string.h>

/* "<target>" <arguments> of the link, or false when it can't be read. */
static BOOL LinkCommand(const char *link, char *text, int capacity)
{
    IShellLinkA *shellLink = NULL;
    IPersistFile *file = NULL;
    WCHAR wide[MAX_PATH];
    char target[MAX_PATH] = "", arguments[MAX_PATH] = "";
    BOOL read = FALSE;
    CoInitialize(NULL);
    if (SUCCEEDED(CoCreateInstance(&CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, &IID_IShellLinkA, (void **)&shellLink))) {
        MultiByteToWideChar(CP_ACP, 0, link, -1, wide, MAX_PATH);
        if (SUCCEEDED(IShellLinkA_QueryInterface(shellLink, &IID_IPersistFile, (void **)&file))) {
            read = SUCCEEDED(IPersistFile_Load(file, wide, STGM_READ))
                && SUCCEEDED(IShellLinkA_GetPath(shellLink, target, MAX_PATH, NULL, SLGP_RAWPATH))
                && SUCCEEDED(IShellLinkA_GetArguments(shellLink, arguments, MAX_PATH));
            IPersistFile_Release(file);
        }
        IShellLinkA_Release(shellLink);
    }
    CoUninitialize();
    snprintf(text, capacity, "\"%s\" %s", target, arguments);
    return read;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    char text[1200];
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION info;
    (void)instance, (void)previous, (void)show;
    if (strncmp(commandLine, "run ", 4) == 0)
        snprintf(text, sizeof text, "%s", commandLine + 4);
    else if (strncmp(commandLine, "open ", 5) != 0 || !LinkCommand(commandLine + 5, text, sizeof text))
        return 1;
    if (!CreateProcessA(NULL, text, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info))
        return 1;
    CloseHandle(info.hThread);
    return WaitForSingleObject(info.hProcess, 120000) == WAIT_OBJECT_0 ? 0 : 2;
}
