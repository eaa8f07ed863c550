/* Ids of the driver's self-test dialog program, shared by its resources and the test. */
#pragma once

#define IDD_MAIN 100
#define IDD_SECOND 101

#define IDC_EDIT 1000
#define IDC_EDIT_MIRROR 1001
#define IDC_MEMO 1002
#define IDC_MEMO_MIRROR 1003
#define IDC_CHECK 1010
#define IDC_ASK 1020
#define IDC_RETRY 1021
#define IDC_NOTE 1022
#define IDC_RESULT 1023
#define IDC_DISABLED 1030
#define IDC_HIDDEN 1031
#define IDC_PROGRESS 1040
#define IDC_STEP 1041
#define IDC_LONG 1050
#define IDC_FOLDER 1060
#define IDC_NEXT 1070

#define IDC_SECOND_LABEL 2000
#define IDC_BACK 2001

/* Exit codes: how the program ended. */
#define EXIT_MAIN_OK 1
#define EXIT_MAIN_CANCEL 2
#define EXIT_SECOND_OK 11
#define EXIT_SECOND_CANCEL 12
