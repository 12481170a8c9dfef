// Every text the program shows to the user, in one place. The odd wording is the product's own.
#pragma once

#define MSG_ALREADY_INSTALLED  "Tone Pilot already installed, do you want to install anyway?"
#define MSG_BUFFER_FAILED      "Buffer couldn't be allocated, close some programs and try again."
#define MSG_PAYLOAD_DAMAGED    "Setup data for %s is damaged, get a new copy of setup and try again."
#define MSG_FILE_NOT_WRITTEN   "File %s could not be written, RC=%i"
#define MSG_PATH_INVALID       "Directory/folder %s isn't a valid path to install too."
#define MSG_PATH_NOT_CREATED   "Directory/folder %s could not be created, RC=%i"
#define MSG_SCRIPT_NOT_WRITTEN "Uninstall script %s could not be written, RC=%i"
#define MSG_ENTRY_NOT_REGISTERED "Uninstall entry could not be registered, RC=%i"
#define MSG_INSTALLED          "Successfully installed."
#define MSG_BROWSE_TITLE       "Select path to install into"
#define MSG_SEARCH_FOUND       "Tone Pilot found in the directory below."
#define MSG_SEARCH_NOT_FOUND   "Tone Pilot not found."
