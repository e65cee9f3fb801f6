/* The numbers of the socket error window and its controls. Read by the resource script
   and by the C++ code alike, so it holds only #defines. */
#pragma once

#define KW_IDD_SOCKET_ERROR 233

#define KW_IDC_SOCKET_ERROR_TEXT 1540
#define KW_IDC_SOCKET_ERROR_NUMBER 1541
#define KW_IDC_SOCKET_ERROR_DESCRIPTION 1542
