/* The file viewer's window: its menu, its commands and the control that shows the
   file's text. */
#pragma once

#define IDR_FILE_VIEWER 132
#define IDC_VIEWER_TEXT 1300
#define ID_VIEWER_PRINT 32900
#define ID_VIEWER_PAGE_SETUP 32901
#define ID_VIEWER_CLOSE 32902
#define ID_VIEWER_PREVIEW 32903
