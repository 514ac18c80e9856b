#pragma once
// What else fits the disc: the chosen rows of the folder list, the image and the free
// sectors before and after, the fill, and how many candidates were too large. Accepted
// by "ウェルに追加", rejected by "キャンセル".

#include "core/plan/FillSearch.h"
#include "core/workspace/Rows.h"

#include <QDialog>

#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

class FillDialog : public QDialog {
    Q_OBJECT

public:
    // chosen: the folder-list rows of fill.chosen, in the list's order.
    FillDialog(const ketrilo::DiscFill& fill, const std::vector<ketrilo::FolderRow>& chosen,
               QWidget* parent);

    QTableWidget* Rows = nullptr;
    QLabel* Summary = nullptr;
    QPushButton* AddButton = nullptr;
    QPushButton* CancelButton = nullptr;
};
