// Bounded string building for the pure rules. They run on the host too (sanitizers, fuzzers),
// so they use no Windows calls. Every function refuses rather than cuts: on a text that does
// not fit, it returns false and leaves the destination as it was.
#pragma once

int  TextLength(const char *text);
bool TextEquals(const char *a, const char *b);
bool CopyText(char *destination, int capacity, const char *source);
bool AppendText(char *destination, int capacity, const char *source);
// What follows `prefix` at the start of `text`, or null when `text` doesn't start with it.
const char *TextAfter(const char *text, const char *prefix);
