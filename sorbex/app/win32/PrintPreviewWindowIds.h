/* The print preview's window: its menu bar, whose items are its commands. */
#pragma once

#define IDR_PRINT_PREVIEW 133
#define ID_PREVIEW_PRINT 32910
#define ID_PREVIEW_NEXT 32911
#define ID_PREVIEW_PREVIOUS 32912
#define ID_PREVIEW_ONE_PAGE 32913
#define ID_PREVIEW_TWO_PAGES 32914
#define ID_PREVIEW_CLOSE 32915
#define ID_PREVIEW_ZOOM_IN 32916
#define ID_PREVIEW_ZOOM_OUT 32917
