// What plays audio CDs, and what the uninstall gives them back to where Windows has no CD Player
// (XP and later): the values of the audio-CD keys when setup runs.
#pragma once
#include "uninstall_script_text.h"

// The values the uninstall is to leave for an installation into `installDir` (the current
// directory, ending with a backslash): each key's value now, unless it is missing, can't be
// written in the script or names something in `installDir` (the product had taken audio CDs over
// before); then what the earlier tnp.inf there recorded, else the key is to be deleted.
void FindWhatPlaysAudioCds(AudioCdValue values[AUDIO_CD_KEYS], const char *installDir);
