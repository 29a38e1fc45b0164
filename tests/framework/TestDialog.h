#pragma once

// The test executable's own dialog template and string table.
#define IDD_TEST 100
#define IDD_MISSING 199
#define IDI_TEST 102

#define IDC_TEXT 1001
#define IDC_NUMBER 1002
#define IDC_CHECK 1003
#define IDC_LIST 1004
#define IDC_LABEL 1005

#define IDS_RATES 1
#define IDS_GAP 2
#define IDS_JAPANESE 3
#define IDS_EMPTY 4
#define IDS_LONG 5
#define IDS_BACKSLASH 6
#define IDS_MISSING 99
