#pragma once
#include <windows.h>

// Installs into the directory typed in the dialog. False when it stopped early with the dialog
// left open (the user has been told why); true when it ran to the end and closed the dialog.
bool RunInstallSequence(HWND dialog);
