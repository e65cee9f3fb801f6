/* The numbers of the preview window's dialog and controls. Read by the resource script
   and by the C++ code alike, so it holds only #defines. */
#pragma once

#define KW_IDD_PREVIEW 234

#define KW_IDC_PREVIEW_TREE 1400
#define KW_IDC_PREVIEW_LIST 1401
#define KW_IDC_PREVIEW_STATUS 1402
#define KW_IDC_PREVIEW_SPLITTER 1403
#define KW_IDC_PREVIEW_PROGRESS 1404
