#pragma once
// The progress of long work, over the window it holds: the files, folders and bytes
// counted so far, the folder being read, and a cancel button (Escape too). It reads a
// WorkProgress; cancelling asks that progress to stop. LongWork keeps input from the
// window meanwhile; Qt's modality would also keep drops from it, which must be refused
// aloud rather than by Qt without a word.

#include <QDialog>

class QLabel;
class QPushButton;

namespace ketrilo {
class WorkProgress;
}

class ProgressDisplay final : public QDialog {
    Q_OBJECT

public:
    ProgressDisplay(ketrilo::WorkProgress& progress, QWidget* window);

    // Shows the counts as they stand now.
    void Refresh();

    void reject() override; // the cancel button, Escape and the close button

private:
    ketrilo::WorkProgress& m_progress;
    QLabel* m_counts = nullptr;
    QLabel* m_folder = nullptr;
    QPushButton* m_cancel = nullptr;
};
