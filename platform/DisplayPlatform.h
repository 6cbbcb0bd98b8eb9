#pragma once

#include <QString>

// Which windowing system the agent runs on. The docked panel and its slide-ins place their own windows
// at the corner of the work area, which X11 allows and a Wayland surface does not: in a Wayland
// session that offers an X display (XWayland) the agent runs on X11, unless someone chose a platform.
namespace DisplayPlatform {

// The platform Qt must use, from QT_QPA_PLATFORM and DISPLAY as the session left them; empty leaves
// the choice to Qt.
QByteArray preferred(const QByteArray& chosenPlatform, const QByteArray& xDisplay);

// Sets the preference in the environment. Must run before the application object exists.
void choose();

// Whether windows on that Qt platform can be put where the agent puts them.
bool placesOwnWindows(const QString& platformName);

// The log line of a run whose panel cannot dock.
QString cannotDockMessage();

} // namespace DisplayPlatform
