#pragma once

#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

class QMenu;
class QWidget;

// The notification-area icon with the behaviour the rest of the agent relies on: an image index that
// never runs past the last image, a tooltip of at most 127 characters that stays off until the first
// mouse move, one report per click or double click, the popup menu, showing and hiding the main
// window, minimise-to-tray and balloons with their length limits.
//
// Where the tray host draws the icon itself (not XEmbed, see TrayHost) no mouse move ever reaches us,
// so the tooltip is shown from the first hint on.
class TTrayIcon : public QObject {
    Q_OBJECT

public:
    static constexpr int MaxHint = 127;
    static constexpr int MaxBalloonTitle = 63;
    static constexpr int MaxBalloonText = 255;

    explicit TTrayIcon(QObject* parent = nullptr);
    ~TTrayIcon() override;

    void show();
    bool isVisible() const { return m_icon.isVisible(); }

    int IconIndex() const { return m_iconIndex; }
    void setIconIndex(int index);

    const QString& Hint() const { return m_hint; }
    void setHint(const QString& hint);
    bool ShowHint() const { return m_showHint; }
    void setShowHint(bool show);
    // The tooltip the tray host has now.
    QString shownToolTip() const { return m_icon.toolTip(); }

    void setPopupMenu(QMenu* menu) { m_icon.setContextMenu(menu); }

    // The window that ShowMainForm, HideMainForm and minimise-to-tray act on.
    void setMainForm(QWidget* form);
    bool MinimizeToTray() const { return m_minimizeToTray; }
    void setMinimizeToTray(bool on) { m_minimizeToTray = on; }
    void ShowMainForm();
    void HideMainForm();

    void ShowBalloonHint(const QString& title, const QString& text, QSystemTrayIcon::MessageIcon icon,
                         int seconds);
    const QString& lastBalloonTitle() const { return m_balloonTitle; }
    const QString& lastBalloonText() const { return m_balloonText; }

    // What the platform reports: a press of the primary button (Trigger) or a double click. A double
    // click is reported once as DblClick, and a click only once the double-click time has passed.
    void handleActivation(QSystemTrayIcon::ActivationReason reason);

Q_SIGNALS:
    void Click();
    void DblClick();
    void MouseMove();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyToolTip();
    void showXEmbedToolTip(const QPoint& where);

    QSystemTrayIcon m_icon;
    QTimer m_singleClick;
    QPointer<QWidget> m_mainForm;
    int m_iconIndex = 0;
    QString m_hint;
    bool m_showHint = false;
    bool m_minimizeToTray = false;
    QString m_balloonTitle;
    QString m_balloonText;
};
