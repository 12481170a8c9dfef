// Control identifiers shared by the dialog templates and the dialog procedures.
#pragma once
// winuser.h names an old system cursor IDC_SIZE; take windows.h in first and replace that name,
// so the size field's id wins whatever order a source includes the two headers in.
#include <windows.h>
#undef IDC_SIZE

#define IDC_PATH          1024
#define IDC_DESKTOP       1025
#define IDC_BROWSE        1026
#define IDC_SIZE          1027
#define IDC_SEARCH_ICON   1028
#define IDC_SEARCH_DIR    1029
#define IDC_SEARCH_STATUS 1031
