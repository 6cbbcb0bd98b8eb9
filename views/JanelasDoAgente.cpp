#include "JanelasDoAgente.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace {
constexpr char propriedadeFormulario[] = "corvellaneFormulario";
}

namespace JanelasDoAgente {

void MarcaComoFormulario(QWidget* janela)
{
    janela->setProperty(propriedadeFormulario, true);
}

bool EFormularioAberto(const QWidget* janela)
{
    if (!janela || !janela->isWindow())
        return false;
    if (qobject_cast<const QMessageBox*>(janela) || qobject_cast<const QMenu*>(janela))
        return false;
    switch (janela->windowType()) {
    case Qt::Window:
    case Qt::Dialog:
    case Qt::Sheet:
    case Qt::Drawer:
    case Qt::Tool:
        break;
    default:
        return false; // pop-ups (the date fields' calendar), tooltips, splash screens
    }
    // The X11 tray host embeds a bypass window of Qt's own; closing it would take the icon away.
    if (janela->windowFlags().testFlag(Qt::BypassWindowManagerHint))
        return false;
    return janela->isVisible() || janela->property(propriedadeFormulario).toBool();
}

namespace {

QList<QPointer<QWidget>> AbertasExceto(const QWidget* janela)
{
    QList<QPointer<QWidget>> abertas;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget != janela && EFormularioAberto(widget))
            abertas.append(widget);
    }
    return abertas;
}

} // namespace

bool HaOutraAberta(const QWidget* janela)
{
    // A report form whose preview has gone holds nothing on screen.
    const QList<QPointer<QWidget>> abertas = AbertasExceto(janela);
    return std::any_of(abertas.begin(), abertas.end(),
                       [](const QPointer<QWidget>& w) { return w->isVisible(); });
}

void FechaTodasExceto(const QWidget* janela)
{
    for (const QPointer<QWidget>& widget : AbertasExceto(janela)) {
        if (widget)
            widget->close();
    }
}

} // namespace JanelasDoAgente
