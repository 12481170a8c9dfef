#include "select_dialog.h"

INT_PTR CALLBACK SelectDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}
