// The little state that crosses dialogs.
#pragma once
#include <windows.h>
#include "command_line.h"
#include "product.h"

extern HINSTANCE g_instance;
// Empty when no earlier installation is known; see the run sequence for its two forms.
extern char g_existingCopyDirectory[TNP_PATH_CAPACITY];
// What the command line asked for: all false and empty when it held no switch.
extern Switches g_switches;
