#include "run_outcome.h"
#include "globals.h"
#include "messages.h"
#include "run_log.h"

static RunRecord g_run;

int ExitCodeOf(const RunRecord &run, bool silent)
{
    if (run.finished)
        return run.warned ? EXIT_FAILED : EXIT_INSTALLED;
    if (run.changed || (silent && run.attempted))
        return EXIT_FAILED;
    return EXIT_NOTHING_CHANGED;
}

void BeginAttempt()
{
    g_run.attempted = true;
    g_run.finished = g_run.warned = false;
}

void NoteWarning()
{
    g_run.warned = true;
}

void NoteFilesInPlace()
{
    g_run.changed = true;
}

void NoteAttemptFinished()
{
    g_run.finished = true;
}

int EndRun(int exitCode)
{
    LogFormat(LOG_EXIT_CODE, exitCode);
    return exitCode;
}

int EndRunAsRecorded()
{
    return EndRun(ExitCodeOf(g_run, g_switches.silent));
}
