#pragma once
#include "folder_security.h"

// Closes the existing install folder `installDir` (ending with a backslash) to every user but
// the system and the administrators when others could change it, before setup writes anything
// into it, so that no one else can change what an administrator later runs from it (its
// uninstall script, the program its links start): ownership taken, the closed DACL set, and the
// same owner and entries, as inherited, given to everything already in it. A reparse point in
// it or a file with more than one name (a hard link to a file elsewhere) is refused rather than
// followed, as is a closing the system refuses or that does not read back closed; the user is
// told, and false. `wasOpen` tells whether the folder was open to others until now, so that
// what setup finds of its own in it may be another's. A folder already closed keeps its
// permissions untouched; nothing is done where `security` judges nothing.
bool CloseFolderToOthers(const FolderSecurity &security, const char *installDir, bool *wasOpen);
