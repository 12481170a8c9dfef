#pragma once

// On Windows NT, closes the existing folder `dir` to every user but the system and the
// administrators when others could change it, before setup writes anything into it, so that
// no one else can change what an administrator later runs from it (its uninstall script, the
// program its links start). A folder already closed keeps its permissions untouched. Nothing is
// done on the 95 family, which keeps no file security; a volume that keeps none (FAT) or a change
// refused leaves the folder as it was, unsaid, and the install goes on.
void CloseFolderToOthers(const char *dir);
