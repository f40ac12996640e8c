#pragma once

// Identifiers of windows, commands, controls and pictures. Widgets and menu
// actions carry them as their object names, so tests find them by id.

// Commands of the main menu
inline constexpr int ID_FILE_ERROR = 32780;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_INVERTER_STATUS = 32777;
inline constexpr int ID_PARAMETER_SETTING = 32776;
inline constexpr int ID_REMOVE_DEVICE = 32778;
inline constexpr int ID_RECONNECT_ALL = 32785;
inline constexpr int ID_RESET_TOTALS = 32779;
inline constexpr int ID_COMM_SETTING = 32774;
inline constexpr int ID_INTERVAL_SETTING = 32775;
inline constexpr int ID_APP_ABOUT = 57664;

// Pictures
inline constexpr int IDR_PANES = 102;
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDI_PANE = 129;
inline constexpr int IDI_STATUS_GREEN = 133;
inline constexpr int IDI_STATUS_GREY = 134;
inline constexpr int IDI_STATUS_RED = 135;
inline constexpr int IDI_ABOUT = 148;
inline constexpr int IDB_SPLASH = 150;

// Dialogs and their controls
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_SAMPLING_INTERVAL = 141;
inline constexpr int IDC_INTERVAL = 1015;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Error list dialog
inline constexpr int IDD_ERROR_LIST = 145;
inline constexpr int IDC_ERROR_LIST = 1076;
inline constexpr int IDC_ERROR_INVERTER = 1077;
inline constexpr int IDC_ERROR_EXPORT = 1078;

// General status form
inline constexpr int IDD_GENERAL_STATUS = 130;
inline constexpr int IDC_ENERGY_BOX = 1000;
inline constexpr int IDC_POWER_BOX = 1001;
inline constexpr int IDC_TOTAL_ETODAY = 1002;
inline constexpr int IDC_TOTAL_ETOTAL = 1003;
inline constexpr int IDC_TOTAL_POWER = 1004;
inline constexpr int IDC_TODAY_LABEL = 1017;
inline constexpr int IDC_LIFETIME_LABEL = 1018;
inline constexpr int IDC_POWER_LABEL = 1019;
inline constexpr int IDC_TODAY_UNIT = 1020;
inline constexpr int IDC_LIFETIME_UNIT = 1021;
inline constexpr int IDC_POWER_UNIT = 1022;
inline constexpr int IDC_OUTPUT_POWER_BOX = 1082;
inline constexpr int IDC_GENERAL_METER = 1084;
