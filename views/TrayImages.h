#pragma once

#include <QIcon>
#include <QPixmap>

// The images of the notification-area icon and of its menu, in their fixed order:
//  0 printer (the icon at start)        6 red stack of coins (quota nearly spent)
//  1 page under a magnifying glass      7 orange stack of coins (half or more used)
//  2 red disc with a white cross        8 grey stack of coins (nothing left)
//  3 bar chart in a teal frame          9 green disc with an infinity sign (unlimited)
//  4 black and yellow lettering        10 yellow-green stack of coins (under half used)
//  5 printer with a blue sheet
// They are drawn as vector art at each size, so they stay sharp on dense screens.
namespace TrayImages {

inline constexpr int Count = 11;

// Offers the image at 16, 20, 24, 32, 48 and 64 pixels, and draws it at any size asked for. An index
// past the last image gives the last one, a negative index the first.
QIcon icon(int index);

// The image drawn at size × size device-independent pixels, on a transparent ground (index clamped
// as for icon()).
QPixmap pixmap(int index, int size);

} // namespace TrayImages
