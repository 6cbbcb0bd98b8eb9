#include "TTrayIcon.h"

#include "TrayHost.h"
#include "TrayImages.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTextDocument>
#include <QToolTip>
#include <QWidget>
#include <algorithm>

TTrayIcon::TTrayIcon(QObject* parent) : QObject(parent)
{
    setIconIndex(0);
    m_singleClick.setSingleShot(true);
    connect(&m_singleClick, &QTimer::timeout, this, &TTrayIcon::Click);
    connect(&m_icon, &QSystemTrayIcon::activated, this, &TTrayIcon::handleActivation);
    // Qt has no mouse-move signal for the icon; on X11 the icon is a widget of its own, whose
    // hover events pass through the application's event filters.
    qApp->installEventFilter(this);
}

TTrayIcon::~TTrayIcon()
{
    qApp->removeEventFilter(this);
}

void TTrayIcon::show()
{
    m_icon.show();
    // Only now has Qt chosen between XEmbed and a StatusNotifier item.
    applyToolTip();
}

void TTrayIcon::setIconIndex(int index)
{
    m_iconIndex = std::clamp(index, 0, TrayImages::Count - 1);
    m_icon.setIcon(TrayImages::icon(m_iconIndex));
}

void TTrayIcon::setHint(const QString& hint)
{
    m_hint = hint.left(MaxHint);
    applyToolTip();
}

void TTrayIcon::setShowHint(bool show)
{
    m_showHint = show;
    applyToolTip();
}

void TTrayIcon::applyToolTip()
{
    // The hint separates its lines with carriage returns; tooltips break lines on line feeds.
    m_icon.setToolTip(m_showHint || !TrayHost::isXEmbed() ? QString(m_hint).replace(u'\r', u'\n')
                                                          : QString());
}

void TTrayIcon::showXEmbedToolTip(const QPoint& where)
{
    // Qt's tooltip would read a login that looks like markup as rich text: it gets the text escaped
    // instead, with its line breaks kept.
    const QString hint = m_icon.toolTip();
    if (hint.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(where, Qt::convertFromPlainText(hint, Qt::WhiteSpacePre));
}

void TTrayIcon::setMainForm(QWidget* form)
{
    if (m_mainForm)
        m_mainForm->removeEventFilter(this);
    m_mainForm = form;
    if (form)
        form->installEventFilter(this);
}

void TTrayIcon::ShowMainForm()
{
    if (!m_mainForm)
        return;
    if (m_mainForm->isMinimized())
        m_mainForm->setWindowState(m_mainForm->windowState() & ~Qt::WindowMinimized);
    m_mainForm->show();
    m_mainForm->raise();
    m_mainForm->activateWindow();
}

void TTrayIcon::HideMainForm()
{
    if (m_mainForm)
        m_mainForm->hide();
}

void TTrayIcon::ShowBalloonHint(const QString& title, const QString& text, QSystemTrayIcon::MessageIcon icon,
                                int seconds)
{
    m_balloonTitle = title.left(MaxBalloonTitle);
    m_balloonText = text.left(MaxBalloonText);
    // Qt's own balloon shows plain text; a desktop notification server reads the body as markup, in
    // which a notice from the network could name a picture to load.
    const QString body = TrayHost::isXEmbed() ? m_balloonText : m_balloonText.toHtmlEscaped();
    m_icon.showMessage(m_balloonTitle, body, icon, seconds * 1000);
}

void TTrayIcon::handleActivation(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger) {
        if (!m_singleClick.isActive())
            m_singleClick.start(QApplication::doubleClickInterval());
    } else if (reason == QSystemTrayIcon::DoubleClick) {
        m_singleClick.stop();
        Q_EMIT DblClick();
    }
}

bool TTrayIcon::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_mainForm && event->type() == QEvent::WindowStateChange && m_minimizeToTray &&
        m_mainForm->isMinimized()) {
        m_mainForm->setWindowState(m_mainForm->windowState() & ~Qt::WindowMinimized);
        HideMainForm();
    } else if ((event->type() == QEvent::MouseMove || event->type() == QEvent::Enter ||
                event->type() == QEvent::ToolTip) &&
               watched->inherits("QSystemTrayIconSys")) {
        Q_EMIT MouseMove();
        if (event->type() == QEvent::ToolTip) {
            showXEmbedToolTip(static_cast<QHelpEvent*>(event)->globalPos());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
