#include "CampoData.h"

#include "EventGuard.h"

#include <QAction>
#include <QCalendarWidget>
#include <QLocale>
#include <QStyle>

CampoData::CampoData(QWidget* parent) : QLineEdit(parent)
{
    QAction* abre = addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    abre->setObjectName(QStringLiteral("abreCalendario"));
    connect(abre, &QAction::triggered, this, [this] { guarded([this] { abreCalendario(); }); });

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

QString CampoData::formato()
{
    QString formato = QLocale::system().dateFormat(QLocale::ShortFormat);
    // A two-digit year would read "24" as 1924: dates are written and read with all four digits.
    if (!formato.contains(QLatin1String("yyyy")))
        formato.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return formato;
}

std::optional<QDate> CampoData::converte(const QString& texto)
{
    const QDate data = QLocale::system().toDate(texto, formato());
    if (!data.isValid())
        return std::nullopt;
    return data;
}

void CampoData::setDate(const QDate& date)
{
    setText(QLocale::system().toString(date, formato()));
}

std::optional<QDate> CampoData::date() const
{
    return converte(text());
}

void CampoData::abreCalendario()
{
    if (const std::optional<QDate> atual = date())
        m_calendario->setSelectedDate(*atual);
    m_calendario->adjustSize();
    m_calendario->move(mapToGlobal(QPoint(0, height())));
    m_calendario->show();
    m_calendario->setFocus();
}
