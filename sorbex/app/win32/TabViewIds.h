/* The tab view: the row of result pages, the field that renames a page, and the page's
   text. */
#pragma once

#define IDC_PAGE_ROW 1100
#define IDC_RENAME_FIELD 1101
#define IDC_RESULT_VIEW 1102
