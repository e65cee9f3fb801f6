/* The "Examples" definition page. */
#pragma once

#define IDD_EXAMPLES_PAGE 203
#define IDC_EXAMPLES 1040
