#pragma once

// The notification area the desktop offers. Qt docks the icon by XEmbed, as a window of ours that sees
// the pointer, or, when a StatusNotifier watcher is on the session bus as the icon is made, as an item
// that the tray host draws itself and over which no mouse move ever reaches us.
namespace TrayHost {

// Whether the icon shown is Qt's own widget in an XEmbed tray. Known only once the icon is shown.
bool isXEmbed();

} // namespace TrayHost
