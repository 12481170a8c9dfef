#pragma once
#include <windows.h>

// Dialog procedure of "SELECT": install size, directory, desktop option, and the install.
INT_PTR CALLBACK SelectDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
