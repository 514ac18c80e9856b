#include "KetriloError.h"

namespace ketrilo {

std::string TopLevelErrorText(const std::string& message) {
    if (message.empty()) {
        return message;
    }
    // A last byte outside ASCII belongs to a character (or U+FFFD) far above ".".
    const auto last = static_cast<unsigned char>(message.back());
    return last > '.' ? message + "." : message;
}

} // namespace ketrilo
