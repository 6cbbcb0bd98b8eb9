// The reference for start-up, memory and idle: the least a Qt Widgets program can be that shows one
// frameless, always-on-top window of the agent's size at the bottom right of the screen.
//   bench-ref-window [--tray]   --tray adds a tray icon, as the agent has one
// A click anywhere on the window hides it, as the agent's "X" does.
#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const bool tray = QApplication::arguments().contains(QStringLiteral("--tray"));

    QWidget window(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool);
    window.setWindowTitle(QStringLiteral("reference"));
    QPushButton hide(QStringLiteral("X"), &window);
    hide.setGeometry(0, 0, 254, 185);
    QObject::connect(&hide, &QPushButton::clicked, &window, &QWidget::hide);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    window.setGeometry(area.right() - 254 - 1, area.bottom() - 185 - 1, 254, 185);

    QSystemTrayIcon icon;
    if (tray) {
        QPixmap picture(16, 16);
        picture.fill(Qt::darkBlue);
        icon.setIcon(QIcon(picture));
        icon.setToolTip(QStringLiteral("reference"));
        icon.show();
    }
    window.show();
    return QApplication::exec();
}
