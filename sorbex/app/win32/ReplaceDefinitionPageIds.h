/* The "Replace" definition page. */
#pragma once

#define IDD_REPLACE_PAGE 202
#define IDC_SEARCH_FOR 1030
#define IDC_REPLACE_WITH 1031
#define IDC_REPLACE_TAG 1032
