/* The smallest dialog program we can make, linked as setup.exe is (no C runtime): the floor
   that setup.exe's memory figure is set against. Cancel (Esc) ends it. */
#include <windows.h>

static INT_PTR CALLBACK FloorDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

void WinMainCRTStartup(void)
{
    DialogBoxParamA(GetModuleHandleA(NULL), "FLOOR", NULL, FloorDlgProc, 0);
    ExitProcess(0);
}
