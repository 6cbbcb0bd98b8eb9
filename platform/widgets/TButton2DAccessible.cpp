#include "TButton2DAccessible.h"

#include "TButton2D.h"

TButton2DAccessible::TButton2DAccessible(TButton2D* button) : QAccessibleWidget(button, QAccessible::Button)
{
}

TButton2D* TButton2DAccessible::button() const
{
    return static_cast<TButton2D*>(widget());
}

QString TButton2DAccessible::text(QAccessible::Text kind) const
{
    if (kind != QAccessible::Name || !button()->accessibleName().isEmpty())
        return QAccessibleWidget::text(kind);
    // "X" read aloud says nothing of what the button does; its hint does ("Fechar").
    const QString caption = button()->Text();
    if (caption.size() == 1 && !button()->toolTip().isEmpty())
        return button()->toolTip();
    return caption;
}

QStringList TButton2DAccessible::actionNames() const
{
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
}

void TButton2DAccessible::doAction(const QString& actionName)
{
    // Later, not now: a click may open a modal box, and the screen reader waits for this call to return
    // (as Qt's own buttons do, through their animated click).
    if (actionName == pressAction())
        QMetaObject::invokeMethod(button(), &TButton2D::click, Qt::QueuedConnection);
    else
        QAccessibleWidget::doAction(actionName);
}

QAccessibleInterface* TButton2DAccessible::factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("TButton2D") && object && object->isWidgetType())
        return new TButton2DAccessible(static_cast<TButton2D*>(object));
    return nullptr;
}
