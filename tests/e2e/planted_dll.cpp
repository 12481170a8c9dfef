// A DLL planted beside setup.exe under the name of a system DLL, as a download folder may hold
// one. Whatever process loads it leaves "<its own path>.loaded" beside it, so the case can see
// which names got in.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    char marker[MAX_PATH + 8];
    DWORD length = GetModuleFileNameA(module, marker, MAX_PATH);
    lstrcpyA(marker + length, ".loaded");
    HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return TRUE;
}
