#pragma once

class QWidget;

// The agent's windows as its show steps see them: a docked window that comes up asks every other
// window of the agent to close, each following its own close behaviour.
namespace JanelasDoAgente {

// A window that counts as open although it is never shown (the report form, which holds only a
// layout): the show steps close it too, and the close frees it.
void MarcaComoFormulario(QWidget* janela);

// Whether a show step asks this top-level widget to close. Message boxes, menus, pop-ups and the
// tray's own embedding widget are not windows of the agent in that sense.
bool EFormularioAberto(const QWidget* janela);

// Takes a snapshot of the open windows and asks each one except janela to close. A window that a
// close frees on the way is skipped.
void FechaTodasExceto(const QWidget* janela);

// Whether a window of the agent other than janela is on screen.
bool HaOutraAberta(const QWidget* janela);

} // namespace JanelasDoAgente
