// Resource names and numbers of uninstall.
#pragma once

// The string table.
#define IDS_DISPLAY_NAME 5101
#define IDS_HELP_SHORTCUT 5102
#define IDS_MANUAL_SHORTCUT 5103
#define IDS_UNINSTALL_CAPTION 5104
#define IDS_UNINSTALL_DONE 5105
#define IDS_DELETE_BY_HAND 5106
#define IDS_CONFIRM_UNINSTALL 5107
#define IDS_LIST_NOT_OPENED 5108
#define IDS_ARCHIVE_TYPE 5109
#define IDS_ZIP_ARCHIVE_TYPE 5110
#define IDS_RECOVERY_VOLUME_TYPE 5111
#define IDS_HOME_PAGE 5112

// The program's icon; a language library may carry its own under the same name.
#define IDI_KZPICON "KZPICON"
