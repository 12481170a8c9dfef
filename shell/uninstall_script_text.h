// The text of tnp.inf, composed piece by piece as it is written. Pure rules: no Windows calls.
// Each function writes one piece into `out` and returns false, leaving `out` empty, when it
// would not fit `capacity`.
#pragma once
#include "../setup/path_chars.h"
#include "../setup/product.h"

// Rows up to the destination of the installed files: the header, the install section and the
// start of the destinations. `setsAudioCd`: the script sets values of the audio-CD keys (the CD
// Player's, or what played audio CDs before); `removesAudioCd`: it deletes some of those keys.
bool ComposeScriptHead(char *out, int capacity, bool desktop, bool setsAudioCd, bool removesAudioCd);

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
// The keys under HKEY_CLASSES_ROOT whose default values say what plays audio CDs.
enum { AUDIO_CD_KEYS = 3 };
extern const char *const kAudioCdKeys[AUDIO_CD_KEYS];
// Room for a whole script, and for one row of it that gives back a value.
enum { SCRIPT_CAPACITY = 6144, AUDIO_CD_ROW_CAPACITY = 3 * TNP_TEXT_CAPACITY };
// A default value of one of them as the uninstall is to leave it: `type` 1 (REG_SZ) or 2
// (REG_EXPAND_SZ), written back; 0, the key deleted; AUDIO_CD_LEFT_ALONE, neither.
enum { AUDIO_CD_LEFT_ALONE = 0xFF };
struct AudioCdValue {
    unsigned long type;
    char text[TNP_TEXT_CAPACITY];
};
// The AddReg row that gives `value` back to audio-CD key `key` byte for byte, quoted and escaped
// as the INF format has it. False for a text no script line can hold (a line break).
bool ComposeAudioCdValueRow(char *out, int capacity, int key, const AudioCdValue &value);
// The DelReg row that deletes audio-CD key `key`.
bool ComposeAudioCdRemovalRow(char *out, int capacity, int key);
// What an earlier tnp.inf of this program recorded for audio-CD key `key`: a value row or a
// removal row as composed above. False when it holds neither (the CD Player rows don't count:
// they name a program that may not be there).
bool FindAudioCdRecord(const char *script, int key, AudioCdValue &value);

// The desktop section at the end: empty line, header, the desktop link.
bool ComposeDesktopSection(char *out, int capacity);
