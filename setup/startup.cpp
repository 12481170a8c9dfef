// Process entry of the shipped exe, which links no C runtime (Windows 95 has none).
#include <windows.h>
#include "command_line.h"
#include "this_windows.h"

typedef BOOL(WINAPI *SetDefaultDllDirectoriesFn)(DWORD);
typedef BOOL(WINAPI *SetDllDirectoryAFn)(LPCSTR);

// A downloaded setup.exe sits among whatever else was downloaded, and its own folder is searched
// first when the shell, COM and the window manager load their DLLs later on; an installer usually
// runs elevated. Where Windows can (8 and later, Vista and 7 with the 2011 loader update), later
// loads search the system folder only; else, from XP SP1 on, the current folder is dropped at
// least. Windows 95 and NT 4 have neither call, so both are looked up, not imported.
static void KeepDllLoadsToTheSystem()
{
    SetDefaultDllDirectoriesFn setDefault =
        (SetDefaultDllDirectoriesFn)FindKernelFunction("SetDefaultDllDirectories");
    if (setDefault != NULL) {
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
        return;
    }
    SetDllDirectoryAFn setDirectory = (SetDllDirectoryAFn)FindKernelFunction("SetDllDirectoryA");
    if (setDirectory != NULL)
        setDirectory("");
}

extern "C" void __stdcall start(void)
{
    KeepDllLoadsToTheSystem();
    STARTUPINFOA startup;
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    LPSTR arguments = (LPSTR)SkipProgramName(GetCommandLineA());
    ExitProcess(WinMain(GetModuleHandleA(NULL), NULL, arguments, show));
}
