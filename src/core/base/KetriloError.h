#pragma once
// The one error type of the program: a message for the top-level error box.

#include <stdexcept>
#include <string>

namespace ketrilo {

class KetriloError : public std::runtime_error {
public:
    explicit KetriloError(const std::string& message) : std::runtime_error(message) {}
};

// The error of an index outside a list (a chooser entry, a column).
[[nodiscard]] KetriloError ListIndexError(int index);

// The text the top-level error box shows for an error message: a "." is appended
// when the message's last character comes after "." in code order.
[[nodiscard]] std::string TopLevelErrorText(const std::string& message);

} // namespace ketrilo
