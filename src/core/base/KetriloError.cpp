#include "core/base/KetriloError.h"

namespace ketrilo {

KetriloError ListIndexError(int index) {
    return KetriloError("リストのインデックスが範囲を超えています (" + std::to_string(index) + ")");
}

std::string TopLevelErrorText(const std::string& message) {
    if (message.empty()) {
        return message;
    }
    // A last byte outside ASCII belongs to a character (or U+FFFD) far above ".".
    const auto last = static_cast<unsigned char>(message.back());
    return last > '.' ? message + "." : message;
}

} // namespace ketrilo
