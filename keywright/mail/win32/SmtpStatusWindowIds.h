/* The numbers of the "Email Status" window and its controls. Read by the resource
   script and by the C++ code alike, so it holds only #defines. */
#pragma once

#define KW_IDD_SMTP_STATUS 232

#define KW_IDC_SMTP_STATUS_TEXT 1530
#define KW_IDC_SMTP_DETAILS 1531
#define KW_IDC_SMTP_RESPONSES 1532
