#pragma once

// The part of a process command line that WinMain receives: after the program name (quoted or
// not) and the white space that follows it.
const char *SkipProgramName(const char *commandLine);
