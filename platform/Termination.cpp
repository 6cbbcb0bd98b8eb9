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
    QCoreApplication::quit();
}

bool requested()
{
    return terminating;
}

} // namespace Termination
