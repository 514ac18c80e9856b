#pragma once
// The one conversion each way between the window's texts and the core's bytes: names
// and paths as the file system spells them (UTF-8 by convention). Bytes that are not
// valid UTF-8 show as U+FFFD, so they cannot be read back from a control's text: the
// workspace keeps the bytes of what it lists.

#include <QString>

#include <string>

[[nodiscard]] QString TextOfBytes(const std::string& bytes);
[[nodiscard]] std::string BytesOfText(const QString& text);
