/* The numbers of Sorbex.exe's program-wide resources and of its commands. Read by the
   resource scripts and by the C++ code alike, so it holds only #defines. A command's
   number is also the number of its prompt in the string table ("status text\ntooltip"). */
#pragma once

/* Resources. */
#define IDR_MAINFRAME 128 /* menu, accelerators, icon; string 128 is the program's title */
#define IDB_TOOLBAR 130
#define IDR_TAB_VIEW_MENU 131 /* the page row's context menu "TabView" */
#define IDR_MANIFEST 1

/* Images of IDB_TOOLBAR, each 16 x 16, in this order. */
#define TOOLBAR_IMAGE_NEW 0
#define TOOLBAR_IMAGE_OPEN 1
#define TOOLBAR_IMAGE_SAVE 2
#define TOOLBAR_IMAGE_START 3
#define TOOLBAR_IMAGE_STOP 4
#define TOOLBAR_IMAGE_PREVIOUS_RESULT 5
#define TOOLBAR_IMAGE_NEXT_RESULT 6
#define TOOLBAR_IMAGE_PREVIOUS_FILE 7
#define TOOLBAR_IMAGE_NEXT_FILE 8
#define TOOLBAR_IMAGE_OPEN_APPLICATION 9
#define TOOLBAR_IMAGE_OPTIONS 10
#define TOOLBAR_IMAGES 11

/* Commands of the search run and the result pages. */
#define ID_CANCEL_SEARCHING 32800
#define ID_DELETE_PAGE 32803
#define ID_RENAME_PAGE 32804
#define ID_SHIFT_PAGE_LEFT 32805
#define ID_SHIFT_PAGE_RIGHT 32810
#define ID_OPEN_REGISTERED 32811
#define ID_TOGGLE_REGISTERED 32812
#define ID_START_SEARCHING 32815
#define ID_FILE_REORGANIZE 32816
#define ID_CACHE_REORGANIZE 32817
#define ID_CACHE_DELETE 32818
#define ID_PREVIOUS_RESULT 32820
#define ID_NEXT_RESULT 32821
#define ID_PREVIOUS_FILE 32822
#define ID_NEXT_FILE 32823
#define ID_OPTIONS 32824
#define ID_SHOW_DEFINITION 32825
#define ID_UNDO_REPLACEMENT 32830

/* The usual file, edit, view and help commands. */
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_FILE_SAVE_AS 57604
#define ID_FILE_PAGE_SETUP 57606
#define ID_FILE_PRINT 57607
#define ID_FILE_PRINT_PREVIEW 57609
#define ID_FILE_MRU_FILE1 57616 /* to ID_FILE_MRU_FILE1 + 3 */
#define ID_EDIT_COPY 57634
#define ID_EDIT_SELECT_ALL 57642
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393

/* Items of the insert menus: the base plus the item's place in its table. */
#define ID_INSERT_OPERATOR_FIRST 33000
#define ID_INSERT_CHARACTER_FIRST 33100
#define ID_INSERT_FILE_NAME_FIRST 33200
#define ID_INSERT_LAST 33299
