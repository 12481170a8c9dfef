// How a run ended, told to whoever started it in Windows Installer's own codes, which deployment
// systems read without being told: the last install attempt decides.
#pragma once

enum RunExitCode {
    EXIT_INSTALLED = 0,           // ran to its end without a warning
    EXIT_NOTHING_CHANGED = 1602,  // declined or cancelled, and nothing of the product changed
    EXIT_FAILED = 1603,           // changed something and did not end cleanly; silent: any stop
    EXIT_ALREADY_RUNNING = 1618,  // another setup of the product runs
    EXIT_BAD_COMMAND_LINE = 1639  // silent, with switches it can't follow
};

struct RunRecord {
    bool attempted;  // OK was pressed, or the silent run began to install
    bool changed;    // some attempt put the product's files in place
    bool finished;   // the last attempt ran to its end
    bool warned;     // the last attempt showed, or would have shown, a warning
};

// The exit code of a run that got as far as installing, or declining to.
int ExitCodeOf(const RunRecord &run, bool silent);

// What the run does, recorded as it happens.
void BeginAttempt();
void NoteWarning();
void NoteFilesInPlace();
void NoteAttemptFinished();
// Writes the code as the log's last line and returns it.
int EndRun(int exitCode);
int EndRunAsRecorded();
