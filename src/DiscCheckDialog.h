#pragma once
// DiscCheckDialog ("ディスクの検査"): one row per thing the burning program would change
// or refuse in the well's image: the path, what is wrong, what the burner will do. It
// follows the image watcher, so a computation that ends while it is open fills it.

#include <QDialog>

#include <functional>
#include <string>

class ImageWatcher;
class QLabel;
class QTableWidget;

class DiscCheckDialog : public QDialog {
    Q_OBJECT

public:
    // A double click on a name too long for Joliet calls showLongName(path), so the window
    // can point at its row in the long-name list, and closes the dialog.
    DiscCheckDialog(const ImageWatcher& watcher,
                    std::function<void(const std::string&)> showLongName,
                    QWidget* parent = nullptr);

signals:
    // The rows were filled anew.
    void Filled();

private:
    void Fill();

    const ImageWatcher& m_watcher;
    QLabel* m_summary = nullptr;
    QTableWidget* m_table = nullptr;
};
