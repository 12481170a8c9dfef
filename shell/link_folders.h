// The folders the product's links go to: the Programs folder that holds the program group and
// the Desktop folder, where the shell shows them.
#pragma once
#include "../setup/product.h"

struct LinkFolder {
    char path[TNP_TEXT_CAPACITY];  // no trailing backslash
    int csidl;                     // the shell folder it is; 0 when composed from the Windows directory
};

struct LinkFolders {
    LinkFolder programs;
    LinkFolder desktop;
};

// The common folders where the shell names them, else the user's, else the folders an English
// Windows 95 or NT 4 has under the Windows directory.
void FindLinkFolders(LinkFolders &folders, bool ntLayout);
