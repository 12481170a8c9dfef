#pragma once

// Registers the uninstall entry whose command runs tnp.inf in `installDir` (ending with a
// backslash). A failure is reported to the user.
void RegisterUninstallEntry(const char *installDir);
