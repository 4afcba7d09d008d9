// Resource and control ids of the setup program.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDD_SETUP 102
#define IDD_SETUP_OPERATION 131
#define IDD_SETUP_FOLDER 132
#define IDD_SETUP_PROGRESS 134
#define IDD_SETUP_EXIT 135
#define IDI_SETUP 136

// Frame.
#define IDC_SETUP_BACK 1000
#define IDC_SETUP_NEXT 1001
#define IDC_SETUP_PAGE_AREA 1004
// Operation page.
#define IDC_OP_REPAIR 1005
#define IDC_OP_UNINSTALL 1006
#define IDC_OP_HEADING 1014
#define IDC_OP_REPAIR_LABEL 1015
#define IDC_OP_REPAIR_TEXT 1016
#define IDC_OP_UNINSTALL_LABEL 1017
#define IDC_OP_UNINSTALL_TEXT 1018
// Folder page.
#define IDC_FOLDER_EDIT 1012
#define IDC_FOLDER_BROWSE 1013
#define IDC_FOLDER_LABEL 1020
// Progress page.
#define IDC_PROGRESS_BAR 1010
#define IDC_PROGRESS_STATUS 1011
// Exit confirmation.
#define IDC_EXIT_TEXT 1019
