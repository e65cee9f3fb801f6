/* The main window's children. */
#pragma once

#define IDC_TOOLBAR 59392 /* as the toolbar's own command, so that its prompt names it */
#define IDC_STATUS_BAR 59393
#define IDC_PROPERTY_BAR 1200
#define IDC_TAB_VIEW 1201
#define IDC_PROGRESS 1202
