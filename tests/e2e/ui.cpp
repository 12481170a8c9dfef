#include "ui.h"
#include <commctrl.h>

bool SetupProcess::Start(const std::string &exe, const std::string &arguments)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    return CreateProcessA(exe.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info) != 0;
}

int SetupProcess::WaitForExit(DWORD timeoutMs)
{
    if (WaitForSingleObject(info.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    return (int)code;
}

bool SetupProcess::Running()
{
    return WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT;
}

static HWND Poll(bool (*found)(HWND *), DWORD timeoutMs, DWORD pollMs = 25)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = NULL;
        if (found(&window))
            return window;
        if (GetTickCount() - start > timeoutMs)
            return NULL;
        Sleep(pollMs);
    }
}

static const char *g_wantedCaption;

HWND WaitForDialog(const char *caption, DWORD timeoutMs)
{
    g_wantedCaption = caption;
    return Poll([](HWND *window) {
        *window = FindWindowA("#32770", g_wantedCaption);
        return *window != NULL && IsWindowVisible(*window);
    }, timeoutMs);
}

HWND WaitForMessageBox(DWORD timeoutMs, DWORD pollMs)
{
    return Poll([](HWND *window) {
        *window = NULL;
        HWND candidate = NULL;
        while ((candidate = FindWindowExA(NULL, candidate, "#32770", "Tone Pilot")) != NULL)
            if (GetDlgItem(candidate, 0xFFFF) != NULL && IsWindowVisible(candidate)) {
                *window = candidate;
                return true;
            }
        return false;
    }, timeoutMs, pollMs);
}

static HWND g_wantedOwner;

HWND WaitForOwnedDialog(HWND owner, DWORD timeoutMs)
{
    g_wantedOwner = owner;
    return Poll([](HWND *window) {
        *window = NULL;
        while ((*window = FindWindowExA(NULL, *window, "#32770", NULL)) != NULL)
            if (GetWindow(*window, GW_OWNER) == g_wantedOwner && IsWindowVisible(*window))
                return true;
        return false;
    }, timeoutMs);
}

bool WaitGone(HWND window, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(25);
    }
    return true;
}

std::string ControlText(HWND dialog, int id)
{
    char text[1024] = "";
    SendMessageA(GetDlgItem(dialog, id), WM_GETTEXT, sizeof text, (LPARAM)text);
    return text;
}

void TypeText(HWND dialog, int id, const std::string &text)
{
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, (LPARAM)text.c_str());
}

void Click(HWND dialog, int id)
{
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

bool IsChecked(HWND dialog, int id)
{
    return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsEnabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != 0;
}

// A tree view keeps its texts in its own process, so the item record and the text buffer for a
// read are placed there.
static std::string TreeItemText(HANDLE process, char *remote, HWND tree, HTREEITEM item)
{
    const int capacity = 260;
    TVITEMA record = {};
    record.mask = TVIF_TEXT;
    record.hItem = item;
    record.pszText = remote + sizeof record;
    record.cchTextMax = capacity;
    char text[capacity + 1] = "";
    if (WriteProcessMemory(process, remote, &record, sizeof record, NULL) &&
        SendMessageA(tree, TVM_GETITEMA, 0, (LPARAM)remote))
        ReadProcessMemory(process, remote + sizeof record, text, capacity, NULL);
    return text;
}

static bool EndsWith(const std::string &text, const std::string &end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool SelectTreeItem(HWND tree, const std::vector<std::string> &names)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(tree, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process == NULL)
        return false;
    char *remote = (char *)VirtualAllocEx(process, NULL, 4096, MEM_COMMIT, PAGE_READWRITE);
    HTREEITEM item = remote != NULL ? TreeView_GetRoot(tree) : NULL;
    for (const std::string &name : names) {
        if (item == NULL)
            break;
        TreeView_Expand(tree, item, TVE_EXPAND);
        item = TreeView_GetChild(tree, item);
        while (item != NULL && !EndsWith(TreeItemText(process, remote, tree, item), name))
            item = TreeView_GetNextSibling(tree, item);
    }
    if (item != NULL)
        TreeView_SelectItem(tree, item);
    if (remote != NULL)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return item != NULL;
}

std::string Answer(HWND box, int button)
{
    std::string text = ControlText(box, 0xFFFF);
    Click(box, button);
    WaitGone(box);
    return text;
}
