// What plays audio CDs, and what the uninstall gives them back to where Windows has no CD Player
// (XP and later): the values of the audio-CD keys when setup runs.
#pragma once
#include "uninstall_script_text.h"

// The values the uninstall is to leave for an installation into `installDir` (ending with a
// backslash), whose tnp.inf is `scriptPath`: each key's value now, unless the key is missing or
// its value names something in `installDir` (the product had taken audio CDs over before); then
// what the earlier tnp.inf recorded, else the key is to be deleted. A key there that can't be
// opened, or whose value the script can't give back as it is (none, not a string, too long, a
// line break), is left alone.
void FindWhatPlaysAudioCds(AudioCdValue values[AUDIO_CD_KEYS], const char *installDir, const char *scriptPath);
