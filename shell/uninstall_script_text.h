// The text of tnp.inf, composed piece by piece as it is written. Pure rules: no Windows calls.
// Each function writes one piece into `out` and returns false, leaving `out` empty, when it
// would not fit `capacity`.
#pragma once
#include "../setup/path_chars.h"

// Rows up to the destination of the installed files: the header, the install section and the
// start of the destinations.
bool ComposeScriptHead(char *out, int capacity, bool desktop);

// Where a folder of links lies, by short paths as the system gives them ("" when it gives none):
// the folder, the shell folder it is or lies in with that folder's CSIDL (0 when the folder was
// composed from the Windows directory), and the Windows directory.
struct LinkFolderPlace {
    const char *shortFolder;
    const char *shortShellFolder;
    int csidl;
    const char *shortWindowsDir;
};
enum LinkFolderRow { ROW_PROGRAM_GROUP, ROW_DESKTOP };
// The destination row of the program group's or the desktop's links.
bool ComposeLinkFolderRow(char *out, int capacity, LinkFolderRow row, bool ntLayout, const LinkFolderPlace &place,
                          LeadByteRule isLead);
// The rows after the destinations up to the first file name: the registry section and the file
// section's header with tnp.inf itself.
bool ComposeScriptFilesHead(char *out, int capacity);
// One name line: a payload file name, or a link name with `suffix` ".lnk".
bool ComposeNameLine(char *out, int capacity, const char *name, const char *suffix);
// An empty line and the header of the next section, e.g. "[TNP_DelLinks]".
bool ComposeSectionStart(char *out, int capacity, const char *header);
// The three rows that give audio CDs back to the CD Player (0, 1, 2), for a Windows directory.
bool ComposeCdPlayerRow(char *out, int capacity, int row, const char *windowsDir, bool ntLayout);
// The desktop section at the end: empty line, header, the desktop link.
bool ComposeDesktopSection(char *out, int capacity);
