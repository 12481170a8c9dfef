#pragma once
#include "folder_security.h"

// True when no one but the trusted can put another folder in place of `installDir` (ending with
// a backslash) through a folder of its path that exists; else the user is told the first folder
// at fault, and false. Where the install directory lies in the program folder the system names,
// only the folders below it are judged (that one and those above are the system's to keep,
// whatever others may do there: NT 4 gives Everyone full control of Program Files, Windows 2000
// of C:\); elsewhere the walk starts at the drive's root. Sets the descriptor the folders made
// for it get: the closed one, or none in the program folder, whose entries its folders take as
// the system gives them. Does nothing where `security` judges nothing.
bool PathClosedToOthers(FolderSecurity &security, const char *installDir);
