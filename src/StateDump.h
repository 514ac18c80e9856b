#pragma once
// A plain-text picture of what the window shows, for end-to-end tests: written after
// every handler and every message box when KETRILO_STATE_OUT names a file.

#include <QString>
#include <QStringList>

class QWidget;

namespace ketrilo {
struct Workspace;
}

// The lines "folder", "row", "well", "long", "status" and "message", tab-separated.
[[nodiscard]] QString StateDumpText(const QString& folderText, const ketrilo::Workspace& ws,
                                    const QString& statusLine, const QStringList& messages);

// "geom" lines: each shown widget's object name and rectangle in screen coordinates,
// so that end-to-end tests know where to press and drop.
[[nodiscard]] QString WidgetPlacesText(const QList<const QWidget*>& widgets);

// The file named by KETRILO_STATE_OUT, or "" when it is unset.
[[nodiscard]] QString StateDumpPath();

// Replaces the file's content at once (written beside it, then renamed over it).
void WriteStateDumpFile(const QString& path, const QString& text);
