#pragma once

// The part of a process command line that WinMain receives: after the program name (quoted or
// not) and the white space that follows it.
const char *SkipProgramName(const char *commandLine);

// What a deployment system asks for on the command line. Switches are words that begin with
// "/", in any case; other words are passed over, as they always were. `/D=` takes the rest of
// the line, blanks included; the directory and the log's name are empty where none was given.
enum { SWITCH_TEXT_CAPACITY = 500 };
struct Switches {
    bool silent;       // /S
    bool malformed;    // a switch not known, an empty /D=, a /LOG= without a file or too long a one
    char directory[SWITCH_TEXT_CAPACITY];  // /D=, its quotes and trailing blanks dropped
    char log[SWITCH_TEXT_CAPACITY];        // /LOG=, its quotes dropped
};
void ParseSwitches(const char *arguments, Switches &switches);
