// Identifiers of VELDAR's resources and controls.
#pragma once

#define IDI_VELDAR 1
#define IDB_GLYPH32 10
#define IDB_GLYPH48 11

// Controls of TMainForm.
#define IDC_SETUPBTN 101
#define IDC_SNEDIT 102
#define IDC_UNEDIT 103
#define IDC_UPEDIT 104
#define IDC_MEMO1 105
#define IDC_PROGRESSBAR 106
#define IDC_ANIMATE1 107
#define IDC_PANEL1 108
#define IDC_LABEL1 111
#define IDC_LABEL2 112
#define IDC_LABEL3 113
#define IDC_LABEL4 114
#define IDC_LABEL5 115
#define IDC_LABEL6 116
#define IDC_BEVEL1 117

// The file-copy animation among the system shell's resources, and the program's own
// clip for systems whose shell lacks it.
#define IDR_SHELL_FILECOPY_AVI 160
#define IDR_COPY_AVI 20

// Texts.
#define IDS_CAPTION 1001
#define IDS_FONT_NAME 1002
#define IDS_SETUP_BUTTON 1003
#define IDS_LABEL1 1004
#define IDS_LABEL2 1005
#define IDS_LABEL3 1006
#define IDS_LABEL4 1007
#define IDS_LABEL5 1008
#define IDS_LABEL6 1009
#define IDS_CONFIRM_START 1010
#define IDS_CONFIRM_CANCEL 1011
#define IDS_OPEN_TITLE 1012
#define IDS_OPEN_FILTER 1013
#define IDS_CONNECT_FAILED 1014
#define IDS_ERROR_CAPTION 1015
#define IDS_SCRIPT_HEADING 1016
#define IDS_SEPARATOR 1017
#define IDS_RESULT_HEADING 1018
#define IDS_SUCCEEDED 1019
#define IDS_PROGRAM_FAILED 1020
#define IDS_NO_ERRORS 1021
#define IDS_FINISHED 1022
#define IDS_CANCELLED 1023
#define IDS_READ_FAILED 1024
#define IDS_WRITE_FAILED 1025
#define IDS_ENCRYPTED 1026
#define IDS_RESULT_LIMIT 1027
#define IDS_ZERO_BYTE 1028
#define IDS_NOT_FINISHED 1029
#define IDS_DIAGNOSTIC 1030
#define IDS_ODBC_NOT_LOADED 1031
#define IDS_BACKUP_FAILED 1032
#define IDS_BACKUP_BAD_NAME 1033
#define IDS_BACKUP_LINK 1034
