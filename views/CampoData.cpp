#include "CampoData.h"

#include "EventGuard.h"

#include <QAction>
#include <QCalendarWidget>
#include <QLocale>
#include <QStyle>

CampoData::CampoData(QWidget* parent) : QLineEdit(parent)
{
    m_abre = addAction(QIcon(), QLineEdit::TrailingPosition);
    m_abre->setObjectName(QStringLiteral("abreCalendario"));
    connect(m_abre, &QAction::triggered, this, [this] { guarded([this] { AbreCalendario(); }); });
}

void CampoData::showEvent(QShowEvent* event)
{
    // The style looks its icons up in the icon theme, which only a field on screen needs.
    if (m_abre->icon().isNull())
        m_abre->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    QLineEdit::showEvent(event);
}

QString CampoData::Formato()
{
    QString formato = QLocale::system().dateFormat(QLocale::ShortFormat);
    // A two-digit year would read "24" as 1924: dates are written and read with all four digits.
    if (!formato.contains(QLatin1String("yyyy")))
        formato.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return formato;
}

void CampoData::setDate(const QDate& date)
{
    setText(QLocale::system().toString(date, Formato()));
}

std::optional<QDate> CampoData::date() const
{
    const QDate data = QLocale::system().toDate(text(), Formato());
    return data.isValid() ? std::optional(data) : std::nullopt;
}

void CampoData::AbreCalendario()
{
    if (!m_calendario) {
        m_calendario = new QCalendarWidget(this);
        m_calendario->setWindowFlags(Qt::Popup);
        m_calendario->setLocale(QLocale::system());
        connect(m_calendario, &QCalendarWidget::clicked, this, [this](QDate escolhida) {
            guarded([this, escolhida] {
                setDate(escolhida);
                m_calendario->hide();
                setFocus();
            });
        });
    }
    if (const std::optional<QDate> atual = date())
        m_calendario->setSelectedDate(*atual);
    m_calendario->adjustSize();
    m_calendario->move(mapToGlobal(QPoint(0, height())));
    m_calendario->show();
    m_calendario->setFocus();
}
