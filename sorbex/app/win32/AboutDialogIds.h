/* The about box. */
#pragma once

#define IDD_ABOUT 230
#define IDC_ABOUT_TITLE 1080
