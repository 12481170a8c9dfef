#include "ui.h"

bool SetupProcess::Start(const std::string &exe)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exe + "\"";
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

static HWND Poll(bool (*found)(HWND *), DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = NULL;
        if (found(&window))
            return window;
        if (GetTickCount() - start > timeoutMs)
            return NULL;
        Sleep(25);
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

HWND WaitForMessageBox(DWORD timeoutMs)
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

std::string Answer(HWND box, int button)
{
    std::string text = ControlText(box, 0xFFFF);
    Click(box, button);
    WaitGone(box);
    return text;
}
