#pragma once
// The time stamp text that the folder list shows.

#include <ctime>
#include <string>

namespace ketrilo {

// Gives a one-digit hour its leading zero: when the 13th character is ":", the
// first 11 characters, "0" and the last 7; otherwise the text unchanged.
[[nodiscard]] std::string NormalizeTimestamp(const std::string& text);

// Local time, seconds rounded down to even, "yyyy/MM/dd H:mm:ss" (the date alone at
// midnight), passed through NormalizeTimestamp.
[[nodiscard]] std::string TimestampText(std::time_t modified);

} // namespace ketrilo
