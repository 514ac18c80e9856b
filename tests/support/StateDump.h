#pragma once
// A plain-text picture of what the window shows, for the tests. Only the tests' build of
// the program makes one (when KETRILO_STATE_OUT names its file); the installed program is
// built without it.

#include <QString>
#include <QStringList>

class TForm1;

namespace ketrilo {
struct Workspace;
}

// Rewrites its file after every handler and every message box of the window it watches,
// and whenever the window changes what it shows of its own accord.
class StateDump {
public:
    // Watches form until it is destroyed; the first picture is written at once.
    StateDump(TForm1& form, QString path);
    ~StateDump();
    StateDump(const StateDump&) = delete;
    StateDump& operator=(const StateDump&) = delete;

private:
    void Write();

    TForm1& m_form;
    QString m_path;
    QStringList m_messages; // every box's text so far
    int64_t m_writes = 0;   // never repeats, unlike the file's inode
};

// The lines "folder", "row", "well", "long", "status" and "message", tab-separated.
[[nodiscard]] QString StateDumpText(const QString& folderText, const ketrilo::Workspace& ws,
                                    const QString& statusLine, const QStringList& messages);
