#include "audio_cd.h"
#include <windows.h>
#include "short_install_directory.h"
#include "../setup/registry_text.h"

// The earlier tnp.inf in the current directory, or the empty text when there is none.
static void ReadEarlierScript(char *text, DWORD capacity)
{
    DWORD read = 0;
    HANDLE file = CreateFileA(TNP_UNINSTALL_SCRIPT, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        if (!ReadFile(file, text, capacity - 1, &read, NULL))
            read = 0;
        CloseHandle(file);
    }
    text[read] = '\0';
}

static void ReadCurrentValue(int key, AudioCdValue &value)
{
    HKEY handle;
    value.type = 0;
    value.text[0] = '\0';
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kAudioCdKeys[key], 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return;
    value.type = ReadRegistryText(handle, NULL, value.text, sizeof value.text);
    RegCloseKey(handle);
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

static bool CanGiveBack(int key, const AudioCdValue &value, const char *installDir, const char *shortDir)
{
    char row[AUDIO_CD_ROW_CAPACITY];
    return value.type != 0 && ComposeAudioCdValueRow(row, sizeof row, key, value)
        && !NamesInstalledFile(value.text, installDir, shortDir);
}

void FindWhatPlaysAudioCds(AudioCdValue values[AUDIO_CD_KEYS], const char *installDir)
{
    char earlierScript[SCRIPT_CAPACITY];
    char shortDir[TNP_TEXT_CAPACITY];
    ReadEarlierScript(earlierScript, sizeof earlierScript);
    GetShortInstallDirectory(installDir, shortDir, sizeof shortDir);
    for (int key = 0; key < AUDIO_CD_KEYS; ++key) {
        ReadCurrentValue(key, values[key]);
        if (!CanGiveBack(key, values[key], installDir, shortDir))
            FindAudioCdRecord(earlierScript, key, values[key]);
    }
}
