/* The property bar's dialog: the row of definition pages and the Start and Stop buttons. */
#pragma once

#define IDD_PROPERTY_BAR 200
#define IDC_PAGE_TABS 1000
#define IDC_START 1001
#define IDC_STOP 1002
