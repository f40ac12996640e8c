#pragma once

// Messages posted by the communication threads and the document to the
// views; lParam is always 0.
inline constexpr unsigned WM_USER = 0x0400;
inline constexpr unsigned WM_FILL_DEVICE_LIST = WM_USER + 10;
inline constexpr unsigned WM_INVERTER_REGISTERED = WM_USER + 11; // wParam: CInverter*
inline constexpr unsigned WM_INTERVAL_CHANGED = WM_USER + 12;
inline constexpr unsigned WM_INVERTER_UPDATED = WM_USER + 13; // wParam: CInverter*
inline constexpr unsigned WM_PORT_STOPPED = WM_USER + 15;     // wParam: CInverterGroup*
// wParam: CInverter*, to be compared only: the record is destroyed right after.
inline constexpr unsigned WM_INVERTER_REMOVED = WM_USER + 16;
