#pragma once

#include "SqliteDb.h"
#include "SummaryRows.h"

#include <cstdint>

// The columns of a span row after its source, in the order the span table
// has them, as writer and reader both see them.
inline constexpr const char* SPAN_COLUMNS =
    "start, samples, power_sum_w, power_min_w, min_second, power_max_w, max_second, first_w,"
    " first_second, last_w, last_second, before_jump_w, jump_from_second, after_jump_w,"
    " jump_to_second, longest_step, e_today_wh";
inline constexpr int SPAN_COLUMN_COUNT = 17;

// Binds a row to the parameters from `first` on.
void BindSpan(SqliteStatement& statement, int first, const SpanRow& row);
// The row in the columns from `first` on.
SpanRow SpanAt(const SqliteStatement& query, int first);
