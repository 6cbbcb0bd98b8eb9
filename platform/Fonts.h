#pragma once

#include <QColor>
#include <QFont>

// The agent's windows were laid out for "MS Sans Serif" and "Arial"; on Linux fontconfig's metric
// twins stand in for them. Call installSubstitutes() once before the first window is built.
namespace Fonts {

void installSubstitutes();

// "MS Sans Serif" at a pixel height, as the window designs give their fonts.
QFont msSansSerif(int pixelSize, bool bold = false);

// The colours every window of the agent shares.
inline const QColor navy(0, 0, 128);
inline const QColor frame(19, 65, 158);   // the dark blue frame, text of flat buttons
inline const QColor panel(246, 246, 246); // panel background
inline const QColor buttonFace(238, 238, 238);

} // namespace Fonts
