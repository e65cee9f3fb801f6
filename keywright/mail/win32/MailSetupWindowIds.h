/* The numbers of the "Setup Internet Mail" window and its controls. Read by the
   resource script and by the C++ code alike, so it holds only #defines. */
#pragma once

#define KW_IDD_MAIL_SETUP 231

#define KW_IDC_SETUP_FULL_NAME 1520
#define KW_IDC_SETUP_ADDRESS 1521
#define KW_IDC_SETUP_SERVER 1522
#define KW_IDC_SETUP_PORT 1523
