#pragma once

#include <QAccessibleWidget>

class TButton2D;

// What a screen reader sees of a TButton2D: a push button with a name it can announce and the press
// action it can run. Without it the painted button reaches the accessibility bus as a nameless filler.
class TButton2DAccessible : public QAccessibleWidget {
public:
    explicit TButton2DAccessible(TButton2D* button);

    QString text(QAccessible::Text kind) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    static QAccessibleInterface* factory(const QString& className, QObject* object);

private:
    TButton2D* button() const;
};
