#pragma once
#include <windows.h>

// Installs into `typed`, the directory as typed in SELECT (`dialog`) or as proposed to a silent
// run (`dialog` NULL): TNP_TEXT_CAPACITY characters, which a refusal may shorten to the part it
// names. False when it stopped early with the dialog left open (the user has been told why);
// true when it ran to the end and closed the dialog.
bool RunInstallSequence(HWND dialog, char *typed, DWORD sizeKilobytes);

// The whole of a silent run's install: once, into the directory SELECT would propose.
void RunSilentInstall();
