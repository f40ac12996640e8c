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
inline constexpr int ID_MQTT_SETTING = 32790;
inline constexpr int ID_ALERTS_SETTING = 32795;

// Pictures
inline constexpr int IDR_PANES = 102;
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDI_PANE = 129;
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
inline constexpr int IDC_REPORTING = 1085;

// Inverter status dialog
inline constexpr int IDD_INVERTER_STATUS = 142;
inline constexpr int IDC_STATUS_SERIAL_NO = 1023;
inline constexpr int IDC_STATUS_MODEL = 1024;
inline constexpr int IDC_STATUS_TEMPERATURE = 1025;
inline constexpr int IDC_STATUS_MODE = 1026;
inline constexpr int IDC_STATUS_FAULT = 1027;
inline constexpr int IDC_STATUS_ETODAY = 1028;
inline constexpr int IDC_STATUS_ETOTAL = 1029;
inline constexpr int IDC_STATUS_MAX_POWER = 1030;
inline constexpr int IDC_STATUS_ADDRESS = 1031;
inline constexpr int IDC_STATUS_POWER = 1032;
inline constexpr int IDC_STATUS_GRAPH = 1033;
inline constexpr int IDC_STATUS_RADIATION = 1034;
inline constexpr int IDC_STATUS_WIND_SPEED = 1035;
inline constexpr int IDC_STATUS_MODULE_TEMP = 1036;
inline constexpr int IDC_STATUS_ENV_TEMP = 1037;
inline constexpr int IDC_STATUS_VPV1 = 1038;
inline constexpr int IDC_STATUS_VPV2 = 1039;
inline constexpr int IDC_STATUS_SET_SERIAL = 1075;
inline constexpr int IDC_STATUS_METER = 1083;
inline constexpr int IDC_STATUS_WRITES = 1086;

// Parameter setting and password dialogs
inline constexpr int IDD_PARAMETER_SETTING = 143;
inline constexpr int IDD_PASSWORD = 146;
inline constexpr int IDC_PASSWORD = 1080;
inline constexpr int IDC_PARAM_VPV_START = 1034;
inline constexpr int IDC_PARAM_T_START = 1035;
inline constexpr int IDC_PARAM_VAC_MIN = 1038;
inline constexpr int IDC_PARAM_VAC_MAX = 1039;
inline constexpr int IDC_PARAM_FAC_MIN = 1040;
inline constexpr int IDC_PARAM_FAC_MAX = 1041;
// Default, minimum and maximum cells of each row
inline constexpr int IDC_VPV_START_DEFAULT = 1045;
inline constexpr int IDC_VPV_START_MIN = 1046;
inline constexpr int IDC_VPV_START_MAX = 1047;
inline constexpr int IDC_T_START_DEFAULT = 1048;
inline constexpr int IDC_T_START_MIN = 1049;
inline constexpr int IDC_T_START_MAX = 1050;
inline constexpr int IDC_VAC_MIN_DEFAULT = 1057;
inline constexpr int IDC_VAC_MIN_MIN = 1058;
inline constexpr int IDC_VAC_MIN_MAX = 1059;
inline constexpr int IDC_VAC_MAX_DEFAULT = 1060;
inline constexpr int IDC_VAC_MAX_MIN = 1061;
inline constexpr int IDC_VAC_MAX_MAX = 1062;
inline constexpr int IDC_FAC_MIN_DEFAULT = 1063;
inline constexpr int IDC_FAC_MIN_MIN = 1064;
inline constexpr int IDC_FAC_MIN_MAX = 1065;
inline constexpr int IDC_FAC_MAX_DEFAULT = 1066;
inline constexpr int IDC_FAC_MAX_MIN = 1067;
inline constexpr int IDC_FAC_MAX_MAX = 1068;

// Communication configuration dialog
inline constexpr int IDD_COMM_CONFIG = 140;
inline constexpr int IDC_COM_PORT = 1003;
inline constexpr int IDC_COM_ENABLE = 1004;
inline constexpr int IDC_COM_LABEL = 1005;
inline constexpr int IDC_BAUDRATE_LABEL = 1006;
inline constexpr int IDC_DATABITS_LABEL = 1007;
inline constexpr int IDC_PARITY_LABEL = 1008;
inline constexpr int IDC_BAUDRATE = 1009;
inline constexpr int IDC_STOPBITS_LABEL = 1010;
inline constexpr int IDC_PARITY = 1011;
inline constexpr int IDC_DATABITS = 1012;
inline constexpr int IDC_STOPBITS = 1013;
inline constexpr int IDC_ENVIRONMENT = 1014;
inline constexpr int IDC_ENV_PORT = 1015;
inline constexpr int IDC_FAST_REPLIES = 1016;

// History browser
inline constexpr int ID_VIEW_HISTORY = 32791;
inline constexpr int IDD_HISTORY = 160;
inline constexpr int IDC_HISTORY_CALENDAR = 1300;
inline constexpr int IDC_HISTORY_PERIOD = 1301;
inline constexpr int IDC_HISTORY_SUBJECT = 1302;
inline constexpr int IDC_HISTORY_BACK = 1303;
inline constexpr int IDC_HISTORY_FORWARD = 1304;
inline constexpr int IDC_HISTORY_TITLE = 1305;
inline constexpr int IDC_HISTORY_CHART = 1306;
inline constexpr int IDC_HISTORY_TOTALS = 1307;
inline constexpr int IDC_HISTORY_EXPORT_CSV = 1308;
inline constexpr int IDC_HISTORY_EXPORT_PNG = 1309;
