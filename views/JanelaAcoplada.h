#pragma once

#include <QString>

class QWidget;

// The agent's windows (the main panel, the quota window) look and move alike: frameless, above the
// others, out of the taskbar, in the dark blue frame, docked at the bottom right corner of the work
// area, two pixels from its edges, and sliding up from the taskbar as they open.
namespace JanelaAcoplada {

// Window flags for the constructor of such a window.
Qt::WindowFlags Bandeiras();

// The title, the opacity (0 to 255), the font and the frame's colours.
void Configura(QWidget& janela, const QString& titulo, int opacidade);

// Its right edge at the work area's right, where it slides in.
void EncostaADireita(QWidget& janela);

// From one height to another in steps of 5 pixels, its bottom at the work area's bottom all the way.
void Desliza(QWidget& janela, int de, int ate);

// Its right edge at the screen's, its bottom at the work area's: where it stays once it is open.
void Ajusta(QWidget& janela);

} // namespace JanelaAcoplada
