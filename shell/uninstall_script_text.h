// The text of tnp.inf, composed piece by piece as it is written. Pure rules: no Windows calls.
// Each function writes one piece into `out` and returns false, leaving `out` empty, when it
// would not fit `capacity`.
#pragma once

// Rows up to the first file name: the header, the install section, the destinations, the
// registry section and the file section's header with tnp.inf itself.
bool ComposeScriptHead(char *out, int capacity, bool ntLayout, bool desktop);
// One name line: a payload file name, or a link name with `suffix` ".lnk".
bool ComposeNameLine(char *out, int capacity, const char *name, const char *suffix);
// An empty line and the header of the next section, e.g. "[TNP_DelLinks]".
bool ComposeSectionStart(char *out, int capacity, const char *header);
// The three rows that give audio CDs back to the CD Player (0, 1, 2), for a Windows directory.
bool ComposeCdPlayerRow(char *out, int capacity, int row, const char *windowsDir, bool ntLayout);
// The desktop section at the end: empty line, header, the desktop link.
bool ComposeDesktopSection(char *out, int capacity);
