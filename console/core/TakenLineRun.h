// Passing over the lines of an agent log that were taken over long ago, as
// fast as the bytes can be looked at. Nearly every line of a long-lived log
// is such a line, so a scan spends almost all its time here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// The length of the run of lines at the beginning of `text` that a scan
// passes over without looking further: each begins with "0" (its date
// zeroed), has exactly nine ";"-separated fields, holds no NUL byte and ends
// with LF inside `text`. Adds the number of those lines to `lines`. The first
// line that is not such a line (or has no LF inside `text`) ends the run.
// Uses the fastest of TakenLineSkippers.
size_t SkipTakenLines(std::string_view text, int32_t& lines);
// The same without vector instructions: for processors without them, and the
// reference that the others are tested against.
size_t SkipTakenLinesPlain(std::string_view text, int32_t& lines);

using SkipTakenLinesFunction = size_t (*)(std::string_view text, int32_t& lines);
struct TakenLineSkipper {
    const char* Name;
    SkipTakenLinesFunction Skip;
};
// The versions this processor can run, fastest first; the plain one last.
std::vector<TakenLineSkipper> TakenLineSkippers();
