// Every box the program shows: no owner, caption "Tone Pilot", foreground, and the beep that
// matches its icon.
#pragma once

// Warning with OK (type 0x10030). `format` is a wsprintfA format.
void ShowWarning(const char *format, ...);
// The installed message (type 0x10040).
void ShowInformation(const char *text);
// Yes/No question (type 0x10024); true when the answer is Yes.
bool AskYesNo(const char *text);
