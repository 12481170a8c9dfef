#pragma once

// The product's shortcuts in the program-group folder (ending with a backslash), the optional
// desktop shortcut in `desktopFolder` that opens that folder, and the uninstall shortcut, made
// through the shell's link object (COM is the caller's to initialise). Shortcuts that can't be
// made are passed over; nothing is reported.
void CreateShortcuts(const char *installDir, const char *programGroupFolder, const char *desktopFolder, bool ntLayout,
                     bool desktop);
