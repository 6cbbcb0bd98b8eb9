#include "JanelasDoAgente.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <algorithm>

namespace {

constexpr char propriedadeFormulario[] = "corvellaneFormulario";
// Pop-ups (the date fields' calendar), tooltips and splash screens are of none of these types.
constexpr Qt::WindowType tiposDeJanela[] = {Qt::Window, Qt::Dialog, Qt::Sheet, Qt::Drawer, Qt::Tool};

QList<QPointer<QWidget>> AbertasExceto(const QWidget* janela)
{
    QList<QPointer<QWidget>> abertas;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget != janela && JanelasDoAgente::EFormularioAberto(widget))
            abertas.append(widget);
    return abertas;
}

} // namespace

namespace JanelasDoAgente {

void MarcaComoFormulario(QWidget* janela)
{
    janela->setProperty(propriedadeFormulario, true);
}

bool EFormularioAberto(const QWidget* janela)
{
    if (!janela || !janela->isWindow() || std::ranges::count(tiposDeJanela, janela->windowType()) == 0 ||
        qobject_cast<const QMessageBox*>(janela) || qobject_cast<const QMenu*>(janela))
        return false;
    // The X11 tray host embeds a bypass window of Qt's own; closing it would take the icon away.
    if (janela->windowFlags().testFlag(Qt::BypassWindowManagerHint))
        return false;
    return janela->isVisible() || janela->property(propriedadeFormulario).toBool();
}

bool HaOutraAberta(const QWidget* janela)
{
    // A report form whose preview has gone holds nothing on screen.
    return std::ranges::any_of(AbertasExceto(janela),
                               [](const QPointer<QWidget>& w) { return w->isVisible(); });
}

void FechaTodasExceto(const QWidget* janela)
{
    for (const QPointer<QWidget>& widget : AbertasExceto(janela))
        if (widget)
            widget->close();
}

} // namespace JanelasDoAgente
