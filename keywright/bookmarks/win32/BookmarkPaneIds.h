/* The numbers of the bookmark pane: its resources, its tree control and the commands of
   its context menus. Read by the resource script and the C++ code alike. */
#pragma once

#define KW_IDB_BOOKMARK_IMAGES 205 /* three images of 17 x 16, magenta transparent */
#define KW_IDM_BOOKMARK_MENU 207   /* popup 0: the menu of a bookmark */
#define KW_IDC_BOOKMARK_TREE 23344
#define KW_CMD_DELETE_FOLDER 40007
#define KW_CMD_DELETE_BOOKMARK 40008
#define KW_BOOKMARK_IMAGE_WIDTH 17
