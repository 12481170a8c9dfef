// Opens one of setup.exe's dialog templates from its own copy of the resource script, dressed
// the way the running setup shows it, so the real layout can be photographed:
//
//   show_dialogs SEARCH|SELECT <ready file>
//
// Once the dialog has painted, the ready file receives the dialog's screen rectangle as
// "left top right bottom foreground", the last 1 when it is the foreground window; the dialog
// stays up until the process is ended from outside.
#include <windows.h>
#include <cstring>
#include "resource_ids.h"

namespace {

const char *g_readyFile;

void SignalReady(HWND dialog)
{
    UpdateWindow(dialog);
    RECT frame;
    GetWindowRect(dialog, &frame);
    char text[64];
    int length = wsprintfA(text, "%ld %ld %ld %ld %d\n", frame.left, frame.top, frame.right, frame.bottom,
                           GetForegroundWindow() == dialog ? 1 : 0);
    // Written under another name and renamed, so the reader never sees half a line.
    char partial[MAX_PATH];
    lstrcpynA(partial, g_readyFile, MAX_PATH - 8);
    lstrcatA(partial, ".part");
    HANDLE ready = CreateFileA(partial, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (ready == INVALID_HANDLE_VALUE)
        return;
    DWORD written;
    WriteFile(ready, text, (DWORD)length, &written, NULL);
    CloseHandle(ready);
    MoveFileA(partial, g_readyFile);
}

INT_PTR CALLBACK SearchProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        HICON frame = LoadIconA(GetModuleHandleA(NULL), "search2");
        SendDlgItemMessageA(dialog, IDC_SEARCH_ICON, STM_SETICON, (WPARAM)frame, 0);
        SetDlgItemTextA(dialog, IDC_SEARCH_DIR, "C:\\Program Files\\Audio Tools\\Players\\");
        ShowWindow(dialog, SW_SHOW);
        PostMessageA(dialog, WM_APP, 0, 0);
        return TRUE;
    }
    if (message == WM_APP) {
        SignalReady(dialog);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK SelectProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        SetDlgItemInt(dialog, IDC_SIZE, 626, FALSE);
        SetDlgItemTextA(dialog, IDC_PATH, "C:\\Program Files\\Tone Pilot\\");
        PostMessageA(dialog, WM_APP, 0, 0);
        return TRUE;
    }
    if (message == WM_APP) {
        SignalReady(dialog);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    g_readyFile = argv[2];
    bool search = std::strcmp(argv[1], "SEARCH") == 0;
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(NULL), argv[1], NULL,
                                     search ? SearchProc : SelectProc, 0);
    return result == -1 ? 1 : 0;
}
