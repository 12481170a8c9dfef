#include "select_dialog.h"
#include <shlobj.h>
#include "install_proposal.h"
#include "install_sequence.h"
#include "../payload/install_size.h"
#include "../resources/resource_ids.h"
#include "../setup/folders.h"
#include "../setup/messages.h"
#include "../setup/product.h"
#include "../shell/shell_folder.h"

static void InitialiseDialog(HWND dialog)
{
    SetDlgItemInt(dialog, IDC_SIZE, InstallSizeInKilobytes(), FALSE);
    char proposal[TNP_TEXT_CAPACITY];
    ProposeInstallDirectory(proposal);
    SetDlgItemTextA(dialog, IDC_PATH, proposal);
    SendDlgItemMessageA(dialog, IDC_PATH, EM_LIMITTEXT, 256, 0);
    SendDlgItemMessageA(dialog, IDC_DESKTOP, BM_SETCHECK, BST_CHECKED, 0);
}

// Proposes the product's folder one level below a folder picked in the shell's browser; a folder
// with no file-system path (a library, say) leaves the box as it was.
static void BrowseForFolder(HWND dialog)
{
    char path[MAX_PATH];
    BROWSEINFOA browse;
    browse.hwndOwner = dialog;
    browse.pidlRoot = NULL;
    browse.pszDisplayName = path;
    browse.lpszTitle = MSG_BROWSE_TITLE;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = NULL;
    browse.lParam = 0;
    browse.iImage = 0;
    char proposal[TNP_TEXT_CAPACITY];
    if (TakePathFromItemList(SHBrowseForFolderA(&browse), path)
        && BuildBrowsedInstallDirectory(proposal, sizeof proposal, path, SystemLeadByte))
        SetDlgItemTextA(dialog, IDC_PATH, proposal);
}

// The install's message boxes have no owner, so SELECT stays enabled beneath them; until the
// install is over its buttons start, end and change nothing.
static bool g_installing;

INT_PTR CALLBACK SelectDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        InitialiseDialog(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND || g_installing)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK: {
        g_installing = true;
        static char typed[TNP_TEXT_CAPACITY];  // too big for the frame the install joins: see the code options
        GetDlgItemTextA(dialog, IDC_PATH, typed, sizeof typed);
        bool installed = RunInstallSequence(dialog, typed, GetDlgItemInt(dialog, IDC_SIZE, NULL, FALSE));
        g_installing = false;
        return installed ? TRUE : FALSE;
    }
    case IDCANCEL:
        EndDialog(dialog, 1);
        return TRUE;
    case IDC_BROWSE:
        BrowseForFolder(dialog);
        return FALSE;
    }
    return FALSE;
}
