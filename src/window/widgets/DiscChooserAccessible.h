#pragma once
// How assistive technology sees the disc chooser: a combo box named by its accessible
// name ("ディスク"), valued by the chosen disc. Qt names a combo box by its text on Linux,
// so a screen reader would announce "DVD-R" and never say what the box is for.

#include <QAccessibleWidget>

class QComboBox;

class DiscChooserAccessible final : public QAccessibleWidget {
public:
    explicit DiscChooserAccessible(QWidget* chooser);

    // The factory for QAccessible::installFactory: this interface for a DiscChooser.
    static QAccessibleInterface* Create(const QString& className, QObject* object);

    [[nodiscard]] QString text(QAccessible::Text t) const override;
    // The drop-down list, then the text field.
    [[nodiscard]] int childCount() const override;
    [[nodiscard]] QAccessibleInterface* child(int index) const override;
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override;
    // The text field holds the keyboard whenever the chooser does.
    [[nodiscard]] QAccessibleInterface* focusChild() const override;

    [[nodiscard]] QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    [[nodiscard]] QComboBox* Chooser() const;
};
