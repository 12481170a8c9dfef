#pragma once

// Writes tnp.inf into the current directory, which is the install directory `installDir`
// (named only in the message shown when the script can't be written). False after that
// message, with no script left: nothing may then be registered that points to one.
bool WriteUninstallScript(bool ntLayout, bool desktop, const char *installDir);
