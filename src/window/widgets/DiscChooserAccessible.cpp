#include "window/widgets/DiscChooserAccessible.h"

#include "window/widgets/DiscChooser.h"

#include <QAbstractItemView>
#include <QLineEdit>

DiscChooserAccessible::DiscChooserAccessible(QWidget* chooser)
    : QAccessibleWidget(chooser, QAccessible::ComboBox) {}

QAccessibleInterface* DiscChooserAccessible::Create(const QString& className, QObject* object) {
    if (className != QLatin1String(DiscChooser::staticMetaObject.className()) ||
        !object->isWidgetType())
        return nullptr;
    return new DiscChooserAccessible(static_cast<QWidget*>(object));
}

QComboBox* DiscChooserAccessible::Chooser() const {
    return static_cast<QComboBox*>(widget());
}

QString DiscChooserAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value)
        return Chooser()->currentText();
    return QAccessibleWidget::text(t);
}

int DiscChooserAccessible::childCount() const {
    return 2;
}

QAccessibleInterface* DiscChooserAccessible::child(int index) const {
    if (index == 0)
        return QAccessible::queryAccessibleInterface(Chooser()->view());
    if (index == 1)
        return QAccessible::queryAccessibleInterface(Chooser()->lineEdit());
    return nullptr;
}

int DiscChooserAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (child->object() == Chooser()->view())
        return 0;
    if (child->object() == Chooser()->lineEdit())
        return 1;
    return -1;
}

QAccessibleInterface* DiscChooserAccessible::focusChild() const {
    return child(1);
}

QStringList DiscChooserAccessible::actionNames() const {
    return {showMenuAction(), pressAction()};
}

void DiscChooserAccessible::doAction(const QString& actionName) {
    if (actionName != showMenuAction() && actionName != pressAction())
        return;
    if (Chooser()->view()->isVisible())
        Chooser()->hidePopup();
    else
        Chooser()->showPopup();
}
