#pragma once
// DiscCheckDialog ("ディスクの検査"): one row per thing the burning program would change
// or refuse in the well's image: the path, what is wrong, what the burner will do. It
// follows the image watcher, so a computation that ends while it is open fills it.

#include <QDialog>

#include <functional>
#include <string>

class DiscImageWatcher;
class QLabel;
class QTableWidget;

class DiscCheckDialog : public QDialog {
    Q_OBJECT

public:
    // holdsLongName(path) says whether the long-name list has the entry at path: a name too
    // long for Joliet is mended there, else the row says how to get it there. A double click
    // on such a name that the list holds calls showLongName(path), so the window can point
    // at its row, and closes the dialog.
    DiscCheckDialog(const DiscImageWatcher& watcher,
                    std::function<bool(const std::string&)> holdsLongName,
                    std::function<void(const std::string&)> showLongName,
                    QWidget* parent = nullptr);

signals:
    // The rows were filled anew.
    void Filled();

private:
    void Fill();

    const DiscImageWatcher& m_watcher;
    std::function<bool(const std::string&)> m_holdsLongName;
    QLabel* m_summary = nullptr;
    QTableWidget* m_table = nullptr;
};
