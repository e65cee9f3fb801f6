/* The file viewer's window: the control that shows the file's text. */
#pragma once

#define IDC_VIEWER_TEXT 1200
