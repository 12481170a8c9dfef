// Drives the real setup.exe from outside, as a user would: finds its windows, reads control
// texts, types, clicks and answers message boxes.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

struct SetupProcess {
    PROCESS_INFORMATION info;
    bool Start(const std::string &exe, const std::string &arguments = "");
    // Waits for the process to end; returns its exit code, or -1 on a time-out.
    int WaitForExit(DWORD timeoutMs = 60000);
    bool Running();
};

// A top-level dialog-class window with this caption; NULL after the time-out.
HWND WaitForDialog(const char *caption, DWORD timeoutMs = 60000);
// A "Tone Pilot" message box (a dialog holding the static text id 0xFFFF), looked for every
// pollMs; NULL after the time-out.
HWND WaitForMessageBox(DWORD timeoutMs = 60000, DWORD pollMs = 25);
// A visible top-level dialog owned by this window, as the shell's folder browser is; NULL after
// the time-out.
HWND WaitForOwnedDialog(HWND owner, DWORD timeoutMs = 60000);
// Waits until the window is gone; false on a time-out.
bool WaitGone(HWND window, DWORD timeoutMs = 30000);

std::string ControlText(HWND dialog, int id);
void TypeText(HWND dialog, int id, const std::string &text);
// Clicks a button the way the mouse does (BM_CLICK), so a disabled button does nothing.
void Click(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
// Walks a tree view of another process down from its root, expanding each level and taking the
// item whose text ends with the next name, and selects the last as a click would; false when a
// name is not there.
bool SelectTreeItem(HWND tree, const std::vector<std::string> &names);
// The text of a message box and the button pressed on it.
std::string Answer(HWND box, int button);
