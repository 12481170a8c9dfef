#pragma once
#include <windows.h>

// Dialog procedure of "SEARCH": scans the fixed drives for an existing copy.
INT_PTR CALLBACK SearchDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
