/* The numbers of keywright.dll's resources, its commands and its dialog controls.
   Read by the resource script and by the C++ code alike, so it holds only #defines. */
#pragma once

/* Resources. */
#define KW_IDA_ACCELERATORS 101
#define KW_IDB_TOOLBAR 104
#define KW_IDD_HIDDEN 201
#define KW_IDD_ABOUT 209
#define KW_IDM_MENU 214
#define KW_IDD_DEBUG 224
#define KW_IDD_OPTIONS 225
#define KW_IDI_ADDIN 223

/* Number of images in KW_IDB_TOOLBAR, each 16 x 16. */
#define KW_TOOLBAR_IMAGES 13

/* Commands of the add-in. */
#define KW_CMD_CREATE_BOOKMARK 3016
#define KW_CMD_CREATE_BOOKMARK_FOLDER 3017
#define KW_CMD_SEARCH 3018
#define KW_CMD_REPLACE 3019
#define KW_CMD_PREVIEW 3020
#define KW_CMD_MAIL_SUBKEY 3021
#define KW_CMD_HELP 3023
#define KW_CMD_ABOUT 3024
#define KW_CMD_GO_FORWARD 40010
#define KW_CMD_GO_BACK 40011
#define KW_CMD_OPTIONS 40032
#define KW_CMD_CONTACT_SUPPORT 40035

/* Dialog controls. */
#define KW_IDC_DEBUG_LOG 1092
#define KW_IDC_DELIVERY_SYSTEM_MAIL 1108
#define KW_IDC_DELIVERY_SMTP 1109
#define KW_IDC_ABOUT_TITLE 1110
#define KW_IDC_ABOUT_VERSION 1111
