#include "Termination.h"

#include "MessageBoxes.h"

#include <QCoreApplication>

namespace {
bool terminating = false;
}

namespace Termination {

void request()
{
    terminating = true;
    MessageBoxes::dismissAll();
    // Not quit(): it first asks every window to close, and the main window answers a close by hiding
    // itself to the tray, which cancels the quit.
    QCoreApplication::exit(0);
}

bool requested()
{
    return terminating;
}

} // namespace Termination
