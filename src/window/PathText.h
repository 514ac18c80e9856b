#pragma once
// The one conversion each way between the window's texts and the core's bytes: names
// and paths as the file system spells them (UTF-8 by convention). Bytes that are not
// valid UTF-8 show as U+FFFD, so they cannot be read back from a control's text: the
// workspace keeps the bytes of what it lists.

#include <QString>

#include <string>

[[nodiscard]] QString TextOfBytes(const std::string& bytes);
[[nodiscard]] std::string BytesOfText(const QString& text);

// For a text that is edited and written back as a name (the rename editor): each byte that
// is not UTF-8 becomes a lone low surrogate U+DC80-U+DCFF, which shows as U+FFFD does, counts
// one unit as NameLength counts that byte, and turns back into the same byte. No key gives
// such a character, so every character left alone keeps its bytes and every character typed
// is written as typed.
[[nodiscard]] QString EditableTextOfBytes(const std::string& bytes);
[[nodiscard]] std::string BytesOfEditableText(const QString& text);
