#pragma once

// Writes tnp.inf into the current directory, which is the install directory `installDir`
// (named only in the message shown when the script can't be written). False after that
// message: no script of this run is in place, so nothing may be registered that points to one.
bool WriteUninstallScript(bool ntLayout, bool desktop, const char *installDir);
