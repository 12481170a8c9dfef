#include "audio_cd.h"
#include <windows.h>
#include "short_install_directory.h"
#include "../setup/registry_text.h"

// The earlier tnp.inf, or the empty text when there is none.
static void ReadEarlierScript(const char *scriptPath, char *text, DWORD capacity)
{
    DWORD read = 0;
    HANDLE file = CreateFileA(scriptPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        if (!ReadFile(file, text, capacity - 1, &read, NULL))
            read = 0;
        CloseHandle(file);
    }
    text[read] = '\0';
}

// False when the key is not there. A key that is there but can't be opened (access denied, as
// where policy locks the classes down), or whose default value is missing or does not read whole
// as a string, gives type 0.
static bool ReadCurrentValue(int key, AudioCdValue &value)
{
    HKEY handle;
    value.type = 0;
    value.text[0] = '\0';
    LONG opened = RegOpenKeyExA(HKEY_CLASSES_ROOT, kAudioCdKeys[key], 0, KEY_QUERY_VALUE, &handle);
    if (opened != ERROR_SUCCESS)
        return opened != ERROR_FILE_NOT_FOUND;
    value.type = ReadRegistryText(handle, NULL, value.text, sizeof value.text);
    RegCloseKey(handle);
    return true;
}

// True when the value names a file in the install directory. It may name it in another form
// than the directory was given in (long or short), so the program it starts with, quoted or not
// (as the system tries it, up to each blank or comma), is also taken in its short form: the
// product's files are in place by now.
static bool NamesInstalledFile(const char *text, const char *installDir, const char *shortDir)
{
    if (NamesSomethingIn(text, installDir, SystemLeadByte) || NamesSomethingIn(text, shortDir, SystemLeadByte))
        return true;
    const char *program = text[0] == '"' ? text + 1 : text;
    char candidate[TNP_TEXT_CAPACITY], shortForm[TNP_TEXT_CAPACITY];
    for (int end = 0;; end = NextCharIndex(program, end, SystemLeadByte)) {
        char c = program[end];
        if (c == '\0' || c == ' ' || c == ',' || c == '"') {
            lstrcpynA(candidate, program, end + 1);
            DWORD length = GetShortPathNameA(candidate, shortForm, sizeof shortForm);
            if (length > 0 && length < sizeof shortForm && NamesSomethingIn(shortForm, shortDir, SystemLeadByte))
                return true;
        }
        if (c == '\0' || c == '"')
            return false;
    }
}

void FindWhatPlaysAudioCds(AudioCdValue values[AUDIO_CD_KEYS], const char *installDir, const char *scriptPath)
{
    // Too big for a frame: see the code options.
    static char earlierScript[SCRIPT_CAPACITY];
    char shortDir[TNP_TEXT_CAPACITY];
    char row[AUDIO_CD_ROW_CAPACITY];
    ReadEarlierScript(scriptPath, earlierScript, sizeof earlierScript);
    GetShortInstallDirectory(installDir, shortDir, sizeof shortDir);
    for (int key = 0; key < AUDIO_CD_KEYS; ++key) {
        if (!ReadCurrentValue(key, values[key]) || NamesInstalledFile(values[key].text, installDir, shortDir))
            FindAudioCdRecord(earlierScript, key, values[key]);
        else if (!ComposeAudioCdValueRow(row, sizeof row, key, values[key]))
            values[key].type = AUDIO_CD_LEFT_ALONE;
    }
}
