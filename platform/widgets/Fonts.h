#pragma once

#include <QColor>
#include <QFont>

// The fonts and colours the agent's windows and report are drawn with. Neither "MS Sans Serif",
// "System" nor Arial exists on a Linux desktop: each falls back to the metric-compatible Liberation
// Sans, then DejaVu Sans.
namespace Fonts {

QFont msSansSerif(int pixelSize, bool bold = false);
QFont system(int pixelSize, bool bold = false);
QFont arial(qreal pointSize, bool bold = false);

inline const QColor navy(0, 0, 128);
inline const QColor frame(19, 65, 158);   // the dark blue frame, text of flat buttons
inline const QColor panel(246, 246, 246); // panel background

} // namespace Fonts
