/* The numbers of the window base's test dialogs, read by their resource script and by
   the tests alike. */
#pragma once

#define UI_TEST_IDD_POPUP 100
#define UI_TEST_IDC_EDIT 101
#define UI_TEST_IDD_CHILD 200
#define UI_TEST_IDC_CHILD_EDIT 201
#define UI_TEST_IDD_MISSING 999
