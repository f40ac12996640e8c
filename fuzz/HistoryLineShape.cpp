#include "HistoryLineShape.h"

#include "FuzzCheck.h"
#include "model/RuntimeData.h"
#include "store/HistoryLine.h"

#include <algorithm>
#include <string_view>

namespace {
constexpr std::size_t SINGLE_FIELDS = 15;
constexpr std::size_t THREE_FIELDS = 30;
constexpr std::string_view LINE_END = "\r\n";

// The fields of a line without its CR LF, which must be there.
std::size_t FieldCount(std::string_view line) {
    Require(line.size() >= LINE_END.size() &&
                line.substr(line.size() - LINE_END.size()) == LINE_END,
            "a history line ends with CR LF");
    line.remove_suffix(LINE_END.size());
    Require(std::all_of(line.begin(), line.end(), [](char c) { return c >= ' ' && c <= '~'; }),
            "a history line holds printable ASCII only before its CR LF");
    return static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')) + 1;
}
} // namespace

void RequireWholeHistoryLine(const RuntimeData& data) {
    const bool single = data.GetPhaseType() == 1;
    const std::string line = single ? SingleHistoryLine(data) : ThreeHistoryLine(data);
    const std::string_view header = single ? SINGLE_HISTORY_HEADER : THREE_HISTORY_HEADER;
    const std::size_t fields = single ? SINGLE_FIELDS : THREE_FIELDS;
    Require(FieldCount(header) == fields, "the history header has its number of fields");
    Require(FieldCount(line) == fields, "a history line has as many fields as its header");
}
