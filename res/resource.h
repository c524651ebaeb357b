// Resource numbers: dialog templates, strings, the icon, and the control
// ids of each dialog.
#pragma once

// Dialogs.
inline constexpr unsigned IDD_ABOUTBOX = 100;
inline constexpr unsigned IDD_BRINDLE_DIALOG = 102;
inline constexpr unsigned IDD_FOLIO_EDIT = 132;
inline constexpr unsigned IDD_SETUP = 134;

// Strings and the icon.
inline constexpr unsigned IDS_ABOUTBOX = 101;
inline constexpr unsigned IDR_MAINFRAME = 128;

// System menu commands of the main dialog.
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;
inline constexpr unsigned IDM_HELP = 0x0020;

// Main dialog (102).
inline constexpr int IDC_QUOTE_GRID = 1003;
inline constexpr int IDC_PRICE_REFRESH = 1004;
inline constexpr int IDC_PORTFOLIO_COMBO = 1005;
inline constexpr int IDC_INDEX_REFRESH = 1006;
inline constexpr int IDC_DATA_SOURCE_COMBO = 1007;
inline constexpr int IDC_EDIT_PORTFOLIOS = 1008;
inline constexpr int IDC_52W_REFRESH = 1009;
inline constexpr int IDC_INDEX_VALUE_1 = 1011;
inline constexpr int IDC_INDEX_TIME_1 = 1012;
inline constexpr int IDC_INDEX_CAPTION_1 = 1013;
inline constexpr int IDC_INDEX_CAPTION_2 = 1014;
inline constexpr int IDC_INDEX_VALUE_2 = 1015;
inline constexpr int IDC_INDEX_TIME_2 = 1016;
inline constexpr int IDC_INDEX_CAPTION_3 = 1017;
inline constexpr int IDC_INDEX_VALUE_3 = 1018;
inline constexpr int IDC_INDEX_TIME_3 = 1019;
inline constexpr int IDC_STATUS = 1020;
inline constexpr int IDC_REQUEST_TIME = 1021;
inline constexpr int IDC_SETUP = 1025;

// Setup dialog (134).
inline constexpr int IDC_FH_APIKEY = 1022;
inline constexpr int IDC_AV_APIKEY = 1023;
inline constexpr int IDC_SHOW_ERRORS = 1024;
inline constexpr int IDC_TICKERS_ON_START = 1025;
inline constexpr int IDC_WAIT_SECS = 1026;
inline constexpr int IDC_SHOW_DETAIL = 1027;
inline constexpr int IDC_KEEP_RECENT = 1028;
inline constexpr int IDC_PACING = 1029;
inline constexpr int IDC_TOP_SOURCE = 1030;
inline constexpr int IDC_TOP_SYMBOL_1 = 1031;
inline constexpr int IDC_TOP_SYMBOL_2 = 1034;
inline constexpr int IDC_TOP_SYMBOL_3 = 1035;

// Portfolio Config dialog (132).
inline constexpr int IDC_FOLIO_LIST = 1003;
inline constexpr int IDC_ROW_GRID = 1007;
inline constexpr int IDC_SET_NAME = 1008;
inline constexpr int IDC_FOLIO_NAME = 1009;
inline constexpr int IDC_FOLIO_UP = 1010;
inline constexpr int IDC_FOLIO_DOWN = 1011;
inline constexpr int IDC_FOLIO_NEW = 1012;
inline constexpr int IDC_FOLIO_DELETE = 1013;
inline constexpr int IDC_ADD_ROW = 1014;
inline constexpr int IDC_DELETE_ROW = 1015;
inline constexpr int IDC_ROW_UP = 1016;
inline constexpr int IDC_ROW_DOWN = 1017;
