// Stepping through an ANSI path by character. In the double-byte code pages of East-Asian
// Windows (932, 936, 949, 950) the second byte of a character may be 0x5C, the backslash, so
// only a byte that starts a character can be a separator. Pure rules, usable on the host: the
// lead-byte test comes from the caller (SystemLeadByte in the exe, a code page table in tests).
#pragma once

typedef bool (*LeadByteRule)(unsigned char byte);

// The lead-byte test of the system's ANSI code page.
bool SystemLeadByte(unsigned char byte);

// Index of the character after the one at `index`; a lead byte just before the terminator
// counts as one character, so the step never passes the end.
int NextCharIndex(const char *text, int index, LeadByteRule isLead);
// Index of the first character `wanted` (an ASCII byte) at `from` or later; -1 when none.
int FindFirstChar(const char *text, int from, char wanted, LeadByteRule isLead);
// Index of the last character `wanted` at `from` or later; -1 when none.
int FindLastChar(const char *text, int from, char wanted, LeadByteRule isLead);
// True when the last character of `text` is a backslash.
bool EndsWithBackslash(const char *text, LeadByteRule isLead);
// The length of the longest start of `text` that holds whole characters only and at most `limit`
// bytes: where the text is cut to fit.
int WholeCharactersWithin(const char *text, int limit, LeadByteRule isLead);
// Index in `path` of the part below `folder` (after the backslash that follows it; the index of
// the terminator when the two are the same folder), or -1 when `path` does not lie in `folder`.
// ASCII letters match in either case, as the file system takes them; a double-byte character
// matches only byte for byte.
int IndexBelowFolder(const char *path, const char *folder, LeadByteRule isLead);
// True when `folder` (ending with a backslash) stands in `text` from a character start on, ASCII
// letters in either case: the text names something in that folder.
bool NamesSomethingIn(const char *text, const char *folder, LeadByteRule isLead);
