// Resource ids. The numbers are fixed: stored settings and the program's
// own lookups (accelerators, dialogs, tray icon) rely on them.
#pragma once

// Icons. The program's icon has the lowest id so that Windows shows it for
// the exe.
#define IDI_LINKCAIRN 102
#define IDI_NOTE_CLOSED 103
#define IDI_FOLDER_OPEN 104
#define IDI_FOLDER_CLOSED 105
#define IDI_NOTE_OPEN 106

// Cursor shown over a drop target while a note or an entry is dragged.
#define IDC_DRAG_CURSOR 107

// Toolbar strip: two 16 x 15 images, the second is the new-entry button.
#define IDB_TOOLBAR 116

// Menus. IDM_CONTEXT holds three popups: 0 the tree's, 1 the list's, 2 the
// notification-area icon's.
#define IDM_MAIN 101
#define IDM_CONTEXT 108

// Accelerator tables: the frame's, and the search dialog's F3 keys.
#define IDR_FRAME_ACCEL 113
#define IDR_SEARCH_ACCEL 4

// Dialog templates.
#define IDD_NEW_ENTRY 109
#define IDD_PROPERTY 110
#define IDD_UPDATE_CHECK 111
#define IDD_SEARCH 112
#define IDD_ABOUT 114
#define IDD_IMPORT 115
// The link check of the whole collection or a folder, and its results.
#define IDD_LINK_CHECK 150
#define IDD_LINK_RESULTS 151
#define IDD_DUPLICATES 130

// Commands of the menus, the toolbar and the accelerator tables.
#define ID_OPEN_STORE 40009
#define ID_NEW_FOLDER 40011
#define ID_HIDE 40013
#define ID_DELETE 40019
#define ID_EDIT 40020
#define ID_SELECT_ALL 40021
#define ID_COPY_ADDRESS 40022
#define ID_SEARCH 40023
#define ID_CHECK_UPDATES 40026
#define ID_REFRESH 40027
#define ID_ABOUT 40029
#define ID_OPEN_IN_BROWSER 40047
#define ID_SHOW_WINDOW 40049
#define ID_EXIT 40050
#define ID_SEARCH_AGAIN 40051
#define ID_NEW_NOTE 40052
#define ID_NEW_ENTRY 40053
#define ID_PROPERTIES 40055
// F3 / Shift+F3 inside the search dialog (accelerator table 4).
#define ID_SEARCH_HAND_OFF 40069
// Bookmark files of browsers: import into the store, export the store.
#define ID_IMPORT 40101
#define ID_EXPORT 40102
#define ID_CHECK_ALL_LINKS 40401
#define ID_CHECK_FOLDER_LINKS 40402
// Duplicates across the whole collection (its window, modeless).
#define ID_FIND_DUPLICATES 40200
// The clipboard's address into the new-entry dialog (編集 menu, Ctrl+V).
#define ID_PASTE_LINK 40300

// Dialog controls. Labels and lines that no code reads share IDC_STATIC.
#define IDC_STATIC (-1)
// New-entry (109) and property (110) dialogs.
#define IDC_TITLE 1001
#define IDC_AUTO_FETCH 1002
#define IDC_ADDRESS 1003
#define IDC_COMMENT 1004
#define IDC_DESTINATION 1007
#define IDC_REFETCH 1009
#define IDC_CHARSET 1010
#define IDC_CREATED 1013
#define IDC_LAST_ACCESS 1014
#define IDC_UPDATED 1015
#define IDC_ACCESS_COUNT 1016
#define IDC_LINK_STATE 1017
#define IDC_CHARSET_HINT 1018
#define IDC_ENTRY_KEY 1019
// Update-check dialog (111).
#define IDC_CHECK_ADDRESS 1020
// Search dialog (112).
#define IDC_SEARCH_TEXT 1021
#define IDC_SEARCH_TARGET 1022
#define IDC_WHOLE_FIELD 1023
#define IDC_MATCH_CASE 1024
#define IDC_FIND_NEXT 1025
#define IDC_SEARCH_UP 1026
#define IDC_SEARCH_DOWN 1027
// About dialog (114).
#define IDC_MAKER_LINK 1028
// Import dialog (115).
#define IDC_IMPORT_COUNT 1029
#define IDC_IMPORT_PROGRESS 1030
// Link check (150) and its results (151).
#define IDC_LINK_PROGRESS 1501
#define IDC_LINK_COUNT 1502
#define IDC_LINK_HOST 1503
#define IDC_LINK_TIME 1504
#define IDC_LINK_LIST 1505
#define IDC_LINK_SUMMARY 1506
// Duplicates window (130).
#define IDC_DUP_LIST 1200
#define IDC_DUP_STATE 1201
#define IDC_DUP_RESCAN 1202
#define IDC_DUP_DELETE 1203

// Windows of the frame: the two panes, the hosts of the views in them, the
// strip above the tree, the status bar and the views themselves.
#define IDC_LEFT_PANE 1
#define IDC_RIGHT_PANE 2
#define IDC_TREE_HOST 3
#define IDC_LIST_HOST 4
#define IDC_STRIP 200
#define IDC_STATUS_BAR 300
#define IDC_TREE_VIEW 400
#define IDC_LIST_VIEW 500

// The notification-area icon's id within the frame.
#define ID_TRAY_ICON 600
