// Process entry of the shipped exe, which links no C runtime (Windows 95 has none).
#include <windows.h>
#include "command_line.h"

extern "C" void __stdcall start(void)
{
    STARTUPINFOA startup;
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    LPSTR arguments = (LPSTR)SkipProgramName(GetCommandLineA());
    ExitProcess(WinMain(GetModuleHandleA(NULL), NULL, arguments, show));
}
