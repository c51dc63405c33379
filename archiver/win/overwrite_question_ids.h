// Resource ids of the overwrite question (overwrite_question.rc), clear of
// the ids of the programs whose resources include it.
#pragma once

#define IDD_OVERWRITE 150
#define IDC_OVERWRITE_NAME 1100
#define IDC_OVERWRITE_ON_DISK 1101
#define IDC_OVERWRITE_IN_ARCHIVE 1102
#define IDC_OVERWRITE_ALL 1103
