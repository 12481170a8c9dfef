#pragma once

// Writes tnp.inf into the current directory, which is the install directory `installDir`
// (named only in the message shown when the script can't be written).
void WriteUninstallScript(bool ntLayout, bool desktop, const char *installDir);
