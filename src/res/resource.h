// Resource and control ids, shared by the resource script and the pages.
#pragma once

// Dialog templates of the four pages.
#define IDD_PAGE1 136
#define IDD_PAGE2 141
#define IDD_PAGE3 142
#define IDD_PAGE4 143
// The progress window of a /SILENT installation.
#define IDD_SILENT_PROGRESS 144

// Images: the header emblem, the completion page's menu picture, the icon.
#define IDB_HEADER 147
#define IDB_MENU 151
#define IDI_APP 1

// The agreement's four screens, UTF-8 text (IDR_AGREEMENT_SCREEN0 + screen).
#define IDR_AGREEMENT_SCREEN0 200
#define IDR_AGREEMENT_SCREEN1 201
#define IDR_AGREEMENT_SCREEN2 202
#define IDR_AGREEMENT_SCREEN3 203
#define IDR_LOGON_PROGRAM 210

// Controls.
#define IDC_STATIC (-1)
#define IDC_FOLDER 1000
#define IDC_BROWSE 1001
#define IDC_PROGRESS 1003
#define IDC_BACK 1005
#define IDC_DISAGREE 1008
#define IDC_AGREE 1009
#define IDC_VERSION_LINE 1011
#define IDC_SUBTITLE 1012
#define IDC_AGREEMENT 1013
#define IDC_VERSION_LINE_LOW 1013
#define IDC_PREV_SCREEN 1014
#define IDC_NEXT_SCREEN 1015

// The release check boxes, 2007 to 2027 (not in year order: 2010 and 2011 swap;
// 1021 to 1025 are not used).
#define IDC_ACAD2007 1018
#define IDC_ACAD2008 1019
#define IDC_ACAD2009 1020
#define IDC_ACAD2010 1027
#define IDC_ACAD2011 1026
#define IDC_ACAD2012 1028
#define IDC_ACAD2013 1029
#define IDC_ACAD2014 1030
#define IDC_ACAD2015 1031
#define IDC_ACAD2016 1032
#define IDC_ACAD2017 1033
#define IDC_ACAD2018 1034
#define IDC_ACAD2019 1035
#define IDC_ACAD2020 1036
#define IDC_ACAD2021 1037
#define IDC_ACAD2022 1038
#define IDC_ACAD2023 1039
#define IDC_ACAD2024 1040
#define IDC_ACAD2025 1041
#define IDC_ACAD2026 1042
#define IDC_ACAD2027 1043
// Page 2's line on the releases found that the package cannot serve.
#define IDC_UNSERVED_RELEASES 1044
// The bitmaps: every page's header emblem, page 4's menu picture (scaled for the DPI).
#define IDC_HEADER_BITMAP 1045
#define IDC_MENU_PICTURE 1046
