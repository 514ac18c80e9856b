#pragma once
// SelectFolder: the modal folder chooser, rooted at "/".

#include <QString>

#include <functional>

class QWidget;

// Shows a notice (the "確認" box) over the chooser.
using ConfirmNotice = std::function<void(QWidget* chooser, const QString& text)>;

// Returns the chosen folder's path without a trailing "/" ("/" for the root), or ""
// when the user cancelled. A typed name that is not a folder is reported through
// confirm as "<name> ディレクトリは存在しません" and the chooser stays open.
[[nodiscard]] QString SelectFolder(const ConfirmNotice& confirm);
