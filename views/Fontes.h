#pragma once

#include <QFont>

// The fonts the agent's windows and report are drawn with. Neither "MS Sans Serif" nor Arial exists on
// a Linux desktop: the fallbacks are the metric-compatible Liberation Sans, then DejaVu Sans.
namespace Fontes {

QFont msSansSerif(int pixels, bool negrito = false);
QFont arial(qreal pontos, bool negrito = false);

} // namespace Fontes
