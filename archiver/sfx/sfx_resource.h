// Resource ids of the self-extracting programs.
#pragma once
#include "../win/overwrite_question_ids.h"  // ids of the overwrite question

// Strings (both programs).
#define IDS_TITLE 100
#define IDS_USAGE_CONSOLE 101
#define IDS_USAGE_GUI 102
#define IDS_NO_ARCHIVE 103
#define IDS_BAD_ARGUMENT 104
#define IDS_NO_DESTINATION 105
#define IDS_DONE 106
#define IDS_CANCELLED 107
#define IDS_PROBLEMS 108
#define IDS_MORE_PROBLEMS 109
#define IDS_ARCHIVE_LABEL 110
#define IDS_BROWSE_TITLE 111
#define IDS_NEED_DESTINATION 113

#define IDS_REFUSED_PARENT 120
#define IDS_REFUSED_DEVICE 121
#define IDS_REFUSED_CHAR 122
#define IDS_REFUSED_EMPTY 123
#define IDS_KEPT_EXISTING 124
#define IDS_DAMAGED_ENTRY 125
#define IDS_WRITE_FAILED 126
#define IDS_ARCHIVE_DAMAGED_AFTER 127
#define IDS_ARCHIVE_DAMAGED 128
#define IDS_LINK_SKIPPED 129

#define IDS_ERROR_TRUNCATED 140
#define IDS_ERROR_BAD_HEADER 141
#define IDS_ERROR_UNKNOWN_METHOD 142
#define IDS_ERROR_DAMAGED_DATA 143
#define IDS_ERROR_CRC 144
#define IDS_ERROR_READ 145
#define IDS_ERROR_WRITE 146
#define IDS_ERROR_OTHER 147

// Dialogs of the windowed program.
#define IDD_SFX_SETUP 200
#define IDD_SFX_PROGRESS 201

#define IDC_ARCHIVE_NAME 1001
#define IDC_DESTINATION 1002
#define IDC_BROWSE 1003
#define IDC_CURRENT_NAME 1004
#define IDC_PROGRESS 1005
