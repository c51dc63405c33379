// Resource ids shared by the program and its resource script.
#pragma once

// Archive engine messages.
#define IDS_NO_UNLHA32            61204
#define IDS_UNLHA32_VERSION_ERROR 61205

// Frames, menus, accelerators, toolbars and document strings.
#define IDR_MAINFRAME    2
#define IDR_MINIVIEWER   112
#define IDR_TOOLBAR      117
#define IDB_VIEWER_TOOLBAR 112
#define IDB_TREE_IMAGES  134
#define IDI_PROGRAM      2

// Drag cursors.
#define IDC_DRAG_MANY    103
#define IDC_NO_DROP      104
#define IDC_DRAG_ONE     105

// Dialogs and their controls.
#define IDD_ABOUTBOX     100
#define IDD_DIR_SELECT   106
#define IDD_MAKE_DIR     107
#define IDD_SFX_TYPE     114
#define IDC_MAKEDIR_NAME 1000
#define IDC_SFX_DOS      1002
#define IDC_SFX_WINSFX   1003
#define IDC_SFX_WINSFX32 1004
#define IDC_DIR_COMPRESS 1005
#define IDC_DELETE_AFTER 1006
#define IDC_DIR_EXTRACT  1039
#define IDC_RECURSIVE    1041
#define IDC_MAKE_DIR     1042
#define IDD_TEST_RESULT  120
#define IDD_PROPERTIES   121
#define IDC_TEST_SUMMARY 1100
#define IDC_TEST_FINDINGS 1101
// The properties' values, in the order the dialog shows them.
#define IDC_PROP_NAME       1110
#define IDC_PROP_FOLDER     1111
#define IDC_PROP_ORIGINAL   1112
#define IDC_PROP_COMPRESSED 1113
#define IDC_PROP_RATIO      1114
#define IDC_PROP_METHOD     1115
#define IDC_PROP_LEVEL      1116
#define IDC_PROP_OS         1117
#define IDC_PROP_CRC        1118
#define IDC_PROP_ATTRIBUTES 1119
#define IDC_PROP_TIME       1120

// Commands of the program.
#define ID_VIEW_LIST          104
#define ID_VIEW_DETAILS       105
#define ID_MINIVIEWER         32771
#define ID_SELECT_ALL         32772
#define ID_COPY_LISTING       32773
#define ID_VIEW_ENTRY         32776
#define ID_EXTRACT            32777
#define ID_COMPRESS           32778
#define ID_DELETE             32780
#define ID_SORT_EXT           32782
#define ID_SORT_SIZE          32783
#define ID_SORT_DATE          32784
#define ID_ALWAYS_ON_TOP      32788
#define ID_DIR_UNPACK         32789
#define ID_SORT_NAME          32800
#define ID_FONT               32801
#define ID_ARCHIVER_SETTINGS  32803
#define ID_MAKE_SFX           32805
#define ID_COMPRESS_DIR       32806
#define ID_RENAME             32807
#define ID_TEST_ARCHIVE       32810
#define ID_PROPERTIES         32811
#define ID_TEST_SELECTED      32812

// Framework commands used by the menus and accelerators (the framework's
// headers give the same values).
#define IDM_FILE_NEW          0xE100
#define IDM_FILE_OPEN         0xE101
#define IDM_FILE_CLOSE        0xE102
#define IDM_FILE_MRU_FILE1    0xE110
#define IDM_EDIT_COPY         0xE122
#define IDM_EDIT_CUT          0xE123
#define IDM_EDIT_PASTE        0xE125
#define IDM_EDIT_UNDO         0xE12B
#define IDM_APP_ABOUT         0xE140
#define IDM_APP_EXIT          0xE141
#define IDM_HELP_FINDER       0xE143
#define IDM_CONTEXT_HELP      0xE145
#define IDM_HELP              0xE146
#define IDM_NEXT_PANE         0xE150
#define IDM_PREV_PANE         0xE151
#define IDM_VIEW_TOOLBAR      0xE800
#define IDM_VIEW_STATUS_BAR   0xE801

// Messages of the program.
#define IDS_MINIVIEWER_TITLE  112
#define IDS_MKDIR_FAILED      61206
#define IDS_SELECT_COMPRESS   61207
#define IDS_NOT_LZH           61208
#define IDS_CONFIRM_DELETE    61209
#define IDS_CREATE_FAILED     61210
#define IDS_NEW_ARCHIVE_NAME  61211
#define IDS_TOO_MANY_FILES    61212
#define IDS_FILES_DROPPED     61213
#define IDS_OLE_INIT_FAILED   61214
#define IDS_NO_WIN32S         61215
#define IDS_EXEC_FAILED       61216
#define IDS_HELP_NOT_FOUND    61217
#define IDS_VIEWER_CUT        61230
#define IDS_NO_TEMP_DIR       61231
#define IDS_COPIES_KEPT       61232
#define IDS_PATH_TOO_LONG     61233

// Private window message: the MiniViewer has closed.
#define WM_MINIVIEWER_CLOSED  (WM_USER + 10)

// Messages about the archiver library's refusals.
#define IDS_LIBRARY_BUSY      61234
#define IDS_SFX_REPLACE       61235

// A copy opened with its program and changed there.
#define IDS_COPY_CHANGED      61236
#define IDS_PUT_BACK_FAILED   61237
// The status bar's counts, the context menus, re-reading and finding by name.
#define ID_REREAD             32816
#define ID_FIND               32817
#define IDR_CONTEXT_MENUS     125
#define IDD_FIND              126
#define IDC_FIND_TEXT         1130
#define IDC_FIND_RESULTS      1131
#define IDC_FIND_COUNT        1132
#define IDS_FOLDER_FILES      61250
#define IDS_SELECTED_FILES    61251
#define IDS_BYTES             61252
#define IDS_FIND_COUNT        61253
#define IDS_FIND_ROOT         61254
#define IDS_FIND_NAME         61255
#define IDS_FIND_FOLDER       61256
#define IDS_FIND_COUNT_CUT    61257
// Testing the archive and an entry's properties.
#define IDS_ENTRY_NOT_FOUND   61240
#define IDS_OS_GENERIC        61241
#define IDS_TEST_COUNT        61242
#define IDS_TEST_ALL_SOUND    61243
#define IDS_TEST_DAMAGED      61244
#define IDS_TEST_FAULTS       61245  /* one text per TestFault, '\n' between */
#define IDS_TEST_MORE         61246
#define IDS_UNKNOWN_FACT      61247

// Work inside folders: the questions that name what they act on.
#define IDS_DELETE_FILES      61260
#define IDS_DELETE_ONE_FILE   61261
#define IDS_DELETE_FOLDER     61262
#define IDS_DELETE_EMPTY_FOLDER 61263
#define IDS_DROP_INTO_ARCHIVE 61264
#define IDS_DROP_INTO_FOLDER  61265
