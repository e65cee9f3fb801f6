/* The numbers of the replacement wizard's dialog and controls. Read by the resource
   script and by the C++ code alike, so it holds only #defines. */
#pragma once

#define KW_IDD_REPLACE_WIZARD 215
/* The search window's icon, which the wizard shows too. */
#define KW_IDI_WIZARD 219

#define KW_IDC_WIZ_INFO 1001
#define KW_IDC_WIZ_STEP1 1002
#define KW_IDC_WIZ_STEP2 1003
#define KW_IDC_WIZ_STEP3 1004
#define KW_IDC_WIZ_STEP4 1005
#define KW_IDC_WIZ_FIND 1006
#define KW_IDC_WIZ_REPLACE 1007
#define KW_IDC_WIZ_WHAT 1008
#define KW_IDC_WIZ_FIND_LABEL 1009
#define KW_IDC_WIZ_REPLACE_LABEL 1010
#define KW_IDC_WIZ_REPLACE_IN 1011
#define KW_IDC_WIZ_KEYS 1012
#define KW_IDC_WIZ_VALUES 1013
#define KW_IDC_WIZ_DATA 1014
#define KW_IDC_WIZ_MATCH 1015
#define KW_IDC_WIZ_CASE 1016
#define KW_IDC_WIZ_WHOLE_STRING 1017
#define KW_IDC_WIZ_SEARCH_IN 1018
#define KW_IDC_WIZ_ALL 1019
#define KW_IDC_WIZ_SELECTED 1020
#define KW_IDC_WIZ_HKCR 1021
#define KW_IDC_WIZ_HKCU 1022
#define KW_IDC_WIZ_HKLM 1023
#define KW_IDC_WIZ_HKU 1024
#define KW_IDC_WIZ_HKCC 1025
#define KW_IDC_WIZ_HKDD 1026
#define KW_IDC_WIZ_RESULTS 1027
#define KW_IDC_WIZ_STOP 1028
#define KW_IDC_WIZ_KEYS_LABEL 1029
#define KW_IDC_WIZ_KEYS_COUNT 1030
#define KW_IDC_WIZ_VALUES_LABEL 1031
#define KW_IDC_WIZ_VALUES_COUNT 1032
#define KW_IDC_WIZ_DATA_LABEL 1033
#define KW_IDC_WIZ_DATA_COUNT 1034
#define KW_IDC_WIZ_SEARCH_STATE 1035
#define KW_IDC_WIZ_REMOVE 1036
#define KW_IDC_WIZ_DETAIL 1037
#define KW_IDC_WIZ_APPLY 1038
#define KW_IDC_WIZ_UNDO 1039
#define KW_IDC_WIZ_UPPER_DIVIDER 1040
#define KW_IDC_WIZ_LOWER_DIVIDER 1041
#define KW_IDC_WIZ_BACK 1042
#define KW_IDC_WIZ_NEXT 1043
/* The Cancel/Done button is IDCANCEL, so that Esc presses it. */
