#pragma once
#include "link_folders.h"

// Writes tnp.inf into the install directory `installDir` (ending with a backslash), so that it
// deletes the links from the folders they were made in, and a desktop link found there even when
// `desktop` is false. False after a message: no script of this run is
// in place, so nothing may be registered that points to one.
bool WriteUninstallScript(const LinkFolders &folders, bool ntLayout, bool desktop, const char *installDir);
