// The record an administrator reads of a run: appended to the file /LOG= names, or, in a silent
// run without one, to a new file in the system's folder of temporary files. A log that can't be
// written stops nothing.
#pragma once

// Decides the file from the command line's switches and writes the run's first line.
void OpenRunLog(const char *arguments);
void LogLine(const char *text);
void LogFormat(const char *format, ...);
