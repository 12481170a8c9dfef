#pragma once

// The 8.3 form of the install directory (ending with a backslash, as the install directory
// does). Where the system can't give one, the long form stands in.
void GetShortInstallDirectory(const char *installDir, char *out, int capacity);
