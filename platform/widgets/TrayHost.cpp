#include "TrayHost.h"

#include <QApplication>
#include <QWidget>
#include <algorithm>

namespace TrayHost {

bool isXEmbed()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(),
                       [](const QWidget* w) { return w->inherits("QSystemTrayIconSys"); });
}

} // namespace TrayHost
