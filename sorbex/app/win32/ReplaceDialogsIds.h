/* The two dialogs of a replacement walk: the warning and the confirmation. */
#pragma once

#define IDD_REPLACE_WARNING 220
#define IDC_WARNING_LINE1 1060
#define IDC_WARNING_LINE2 1061
#define IDC_WARNING_LINE3 1062
#define IDC_NO_MORE_WARNINGS 1063

#define IDD_REPLACE_CONFIRM 221
#define IDC_QUESTION 1070
#define IDC_REPLACE_ALL 1071
