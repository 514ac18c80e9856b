#include "window/widgets/DiscChooser.h"

#include "window/widgets/DiscChooserAccessible.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QStyle>

DiscChooser::DiscChooser(QWidget* parent) : QComboBox(parent) {
    static const bool accessible =
        (QAccessible::installFactory(&DiscChooserAccessible::Create), true);
    Q_UNUSED(accessible);
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    // Setting the chosen entry's text leaves the cursor, and so the view, at its end.
    connect(this, &QComboBox::currentIndexChanged, this, [this] { lineEdit()->home(false); });
}

void DiscChooser::showPopup() {
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + scrollBar);
    QComboBox::showPopup();
}
