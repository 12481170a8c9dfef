// The steps a user takes through setup's windows, and what an installation must leave behind;
// shared by the end-to-end cases.
#pragma once
#include <windows.h>
#include <string>
#include "checks.h"
#include "ui.h"

extern const char kSetupExe[];
extern const char kSearchCaption[];
extern const char kSelectCaption[];
// What SELECT proposes when no earlier copy is known, and that directory with its backslash: the
// product's folder in the program folder run_e2e.sh says the system names.
std::string DefaultOffer();
std::string DefaultDir();
extern const char kCommandHead[];   // the uninstall command up to the script's path
enum { ID_PATH = 1024, ID_DESKTOP = 1025, ID_BROWSE = 1026, ID_SIZE = 1027 };
enum { ID_SEARCH_ICON = 1028, ID_SEARCH_DIR = 1029, ID_SEARCH_STATUS = 1031 };
// The shell's folder browser: the static holding the caller's title, and the folder tree.
enum { ID_BROWSER_TITLE = 0x3742, ID_BROWSER_TREE = 0x3741 };

// False when run_e2e.sh says the Windows version must give the 95 layout.
bool ExpectNtLayout();
// The ANSI code page run_e2e.sh set the case's locale for (TNP_CODE_PAGE), and the case's names
// in it (TNP_CODE_PAGE_NAMES: the hex of each name's bytes, as iconv gave them), 0 and "" when
// the case gives none.
unsigned CaseCodePage();
std::string CaseName(size_t index);
// Where the links must be: in the Programs and Desktop folders prefix.sh laid out for the shell.
std::string ProgramGroup();
std::string DesktopLink();
// The names of every link setup makes, wherever it makes them.
extern const char *const kLinkNames[4];

// Lets the search finish and closes it; its outcome texts are returned through the arguments.
void PassSearch(std::string *status, std::string *directory);
HWND WaitForSelect();
// Presses "..." without waiting for SELECT, whose handler runs the browser modally; the browser,
// or NULL when none opened.
HWND OpenBrowser(HWND select);
// Picks the folder at the end of these tree items in a browser opened from SELECT and presses
// OK; what SELECT then proposes.
std::string BrowseTo(HWND select, const std::vector<std::string> &treeItems);
// Presses OK and expects "Successfully installed." and a closed dialog; `pressAgain`: OK once more
// while the box is up, which must start no second install.
void ConfirmAndExpectSuccess(HWND select, bool pressAgain = false);
// A first run of `exe` on a machine without an earlier copy, up to an open SELECT.
HWND StartFirstRun(SetupProcess &setup, const char *exe = kSetupExe);
// A later run: the question is shown and answered.
void AnswerQuestion(SetupProcess &setup, int answer);
// A first run of `exe` that installs into the default directory, with or without the desktop link,
// and ends with `exitCode`.
void InstallDefaults(bool desktop, const char *exe = kSetupExe, int exitCode = 0);
// Windows Installer's codes, which deployment systems read from setup's exit.
enum { kNothingChanged = 1602, kFailed = 1603, kAlreadyRunning = 1618, kBadCommandLine = 1639 };
// Runs setup.exe with `arguments` as a deployment system does, pressing nothing: no window of it
// may ever be visible. Its exit code.
int RunSilently(const std::string &arguments);
// The log file holds this line whole.
bool LogHolds(const std::string &log, const std::string &line);
// A first run that installs into the directory typed as `typed`.
void InstallTyped(const std::string &typed);

void ExpectPayloadFiles(const std::string &dir);
// Files, tnp.inf, the uninstall entry and every link, read back through the platform; tnp.inf
// gives audio CDs back to `players` where Windows has no CD Player.
void ExpectInstalled(const std::string &dir, bool nt, bool desktop, const AudioCd &players = AudioCdValues());
bool On64BitWindows();
// Starts `what` ("run <command line>" or "open <file>") as Windows does for a user: on 64-bit
// Windows through a 64-bit program, and waits for it to end.
void StartAsWindowsDoes(const std::string &what);
// A run after an uninstall: no question, and SELECT proposes the default directory; cancelled.
void ExpectNothingInstalled();

// The search over the drives run_e2e.sh laid out for the case, and the SELECT that follows;
// TNP_EXPECT_FOUND holds the directory the search must report, or nothing when there is no copy
// to find (TNP_SEARCH_INSTALL: install into it, or where TNP_EXPECT_REFUSED names a folder others
// may change, see it refused for that folder, then install the default; TNP_EXPECT_LONG_SCAN:
// Continue must wait).
void ExpectSearchOutcome();

void ForgetEarlierInstallation();
// An uninstall entry as another program, or damage, might have left it: `data` of `size` bytes
// of `type` as UninstallString, or no such value at all when `data` is null.
void WriteUninstallEntry(DWORD type, const void *data, DWORD size);
void WriteUninstallString(const std::string &text);
