#pragma once

// A request to end the program made while it is still starting: boxes close by themselves from then
// on, a running event loop ends, and start-up stops at its gate.
namespace Termination {

void request();
bool requested();

} // namespace Termination
