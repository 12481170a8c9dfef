// Every text the program shows to the user, in one place. The odd wording is the product's own.
#pragma once

#define MSG_ALREADY_INSTALLED  "Tone Pilot already installed, do you want to install anyway?"
#define MSG_BUFFER_FAILED      "Buffer couldn't be allocated, close some programs and try again."
#define MSG_PAYLOAD_DAMAGED    "Setup data for %s is damaged, get a new copy of setup and try again."
#define MSG_FILE_NOT_WRITTEN   "File %s could not be written, RC=%i"
#define MSG_PATH_INVALID       "Directory/folder %s isn't a valid path to install too."
#define MSG_PATH_NOT_CREATED   "Directory/folder %s could not be created, RC=%i"
#define MSG_PATH_OPEN_TO_OTHERS "Directory/folder %s can be changed by other users of this computer, choose another one."
#define MSG_SCRIPT_NOT_WRITTEN "Uninstall script %s could not be written, RC=%i"
#define MSG_ENTRY_NOT_REGISTERED "Uninstall entry could not be registered, RC=%i"
#define MSG_INSTALLED          "Successfully installed."
#define MSG_BROWSE_TITLE       "Select path to install into"
#define MSG_SEARCH_FOUND       "Tone Pilot found in the directory below."
#define MSG_SEARCH_NOT_FOUND   "Tone Pilot not found."

// The captions of the two dialogs, by which a second run finds the first one's window.
#define CAPTION_SEARCH         "Searching for release..."
#define CAPTION_SELECT         "Tone Pilot Setup"

// The lines of the run's log, besides the text of every message the run shows or, silent, would
// have shown.
#define LOG_RUN_STARTED        "%04u-%02u-%02u %02u:%02u:%02u Tone Pilot Setup %s, %s, command line: %s"
#define LOG_MODE_SILENT        "silent"
#define LOG_MODE_INTERACTIVE   "interactive"
#define LOG_ANSWERED           "Answered %s."
#define LOG_INSTALL_DIRECTORY  "Install directory: %s"
#define LOG_LINK_NOT_MADE      "Link %s could not be made, RC=0x%08X"
#define LOG_LINKS_NOT_MADE     "Links could not be made, RC=0x%08X"
#define LOG_BAD_SWITCHES       "Command line not understood: %s"
#define LOG_ALREADY_RUNNING    "Another Tone Pilot Setup is running; nothing was changed."
#define LOG_EXIT_CODE          "Exit code: %i"
