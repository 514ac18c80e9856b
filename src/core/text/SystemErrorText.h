#pragma once
// The description of a system error in the window's language, so that a message built
// around it reads in one language.

#include <string>

namespace ketrilo {

// Japanese for the errors a user meets with files; others as "システムエラー N".
[[nodiscard]] std::string SystemErrorText(int error);

} // namespace ketrilo
