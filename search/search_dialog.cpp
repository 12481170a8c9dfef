#include "search_dialog.h"
#include "search_directory.h"
#include "../resources/resource_ids.h"
#include "../setup/globals.h"
#include "../setup/messages.h"

enum { DRIVE_LETTERS = 26 };

// The first fixed drive, in letter order, that holds the main executable.
static bool SearchFixedDrives(HWND dialog)
{
    DWORD drives = GetLogicalDrives();
    for (int i = 0; i < DRIVE_LETTERS; ++i) {
        if ((drives & (1u << i)) == 0)
            continue;
        char root[32];
        wsprintfA(root, "%c:\\", 'A' + i);
        if (GetDriveTypeA(root) != DRIVE_FIXED)
            continue;
        if (SearchDirectory(dialog, root, TNP_MAIN_EXECUTABLE))
            return true;
    }
    return false;
}

static void RunScan(HWND dialog)
{
    g_searchAnimationCounter = 0;
    if (SearchFixedDrives(dialog)) {
        SetDlgItemTextA(dialog, IDC_SEARCH_DIR, g_existingCopyDirectory);
        SetDlgItemTextA(dialog, IDC_SEARCH_STATUS, MSG_SEARCH_FOUND);
    } else {
        SetDlgItemTextA(dialog, IDC_SEARCH_DIR, "");
        SetDlgItemTextA(dialog, IDC_SEARCH_STATUS, MSG_SEARCH_NOT_FOUND);
    }
    EnableWindow(GetDlgItem(dialog, IDCANCEL), TRUE);
}

INT_PTR CALLBACK SearchDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        // Drawn before the scan holds the thread; the scan starts once initialisation is over.
        ShowWindow(dialog, SW_SHOWNORMAL);
        UpdateWindow(dialog);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        RunScan(dialog);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}
