#pragma once

// CInverter::m_nErrorState: 0 before the first sample is tracked, then
// whether its last sample had error bits.
inline constexpr int ERROR_STATE_CLEAR = 1;
inline constexpr int ERROR_STATE_FAULT = 2;
