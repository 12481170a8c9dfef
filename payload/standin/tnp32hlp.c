/* Stand-in for the product's 32-bit help library. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance; (void)reason; (void)reserved;
    return TRUE;
}

__declspec(dllexport) int WINAPI TnpHelpVersion(void)
{
    return 0x0100;
}
