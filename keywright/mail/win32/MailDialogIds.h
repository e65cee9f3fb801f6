/* The numbers of the "Mail Registry File" dialog and its controls. Read by the
   resource script and by the C++ code alike, so it holds only #defines. */
#pragma once

#define KW_IDD_MAIL 230

#define KW_IDC_MAIL_FROM 1500
#define KW_IDC_MAIL_TO 1501
#define KW_IDC_MAIL_CC 1502
#define KW_IDC_MAIL_SUBJECT 1503
#define KW_IDC_MAIL_ATTACHMENT 1504
#define KW_IDC_MAIL_BODY 1505
#define KW_IDC_MAIL_SEND 1506
#define KW_IDC_MAIL_SETUP 1507
