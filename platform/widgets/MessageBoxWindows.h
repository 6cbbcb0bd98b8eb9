#pragma once

// The agent's message boxes as Qt widgets: a nested event loop per box, as the original program had.
namespace MessageBoxWindows {

// From now on MessageBoxes shows its boxes on screen. Call once the application object exists.
void install();

} // namespace MessageBoxWindows
