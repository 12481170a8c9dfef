// The product's fixed identity: every name that one run writes and a later run, the shell or
// the INF engine reads back. Change nothing here without changing what is already installed.
#pragma once

#define TNP_DISPLAY_NAME        "Tone Pilot"
#define TNP_MAIN_EXECUTABLE     "tnp.exe"
#define TNP_UNINSTALL_SCRIPT    "tnp.inf"
#define TNP_UNINSTALL_SECTION   "Uninstall_TNP"
#define TNP_DEFAULT_INSTALL_DIR "c:\\Program Files\\Tone Pilot"
#define TNP_BROWSE_SUFFIX       "\\Tone Pilot"
#define TNP_UNINSTALL_LINK      "Uninstall Tone Pilot.lnk"
#define TNP_UNINSTALL_RUNNER    "rundll32.exe"
#define TNP_UNINSTALL_KEY       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tone Pilot"
#define TNP_UNINSTALL_KEY_CLASS "String"

// Capacities shared by every subsystem, in characters including the terminating NUL.
enum {
    TNP_PATH_CAPACITY = 260,  // MAX_PATH: install directory, existing-copy directory, folders
    TNP_TEXT_CAPACITY = 500   // composed texts and scratch paths
};
