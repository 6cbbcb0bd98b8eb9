#pragma once

#include <QDate>
#include <QLineEdit>
#include <optional>

class QAction;
class QCalendarWidget;

// A date as the user types it, in the workstation's short date format, with a calendar that drops
// down from the button at its right. The text is free: it may hold something that is no date at all,
// and only the code that reads the date decides what that means.
class CampoData : public QLineEdit {
    Q_OBJECT

public:
    explicit CampoData(QWidget* parent = nullptr);

    void setDate(const QDate& date);
    // The text read as a date; empty when it is not one.
    std::optional<QDate> date() const;

    // The format dates are written in: the system's short format with four-digit years.
    static QString Formato();

    // Drops the calendar down under the field, on the field's date.
    void AbreCalendario();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QAction* m_abre;
    // Made when first needed: the field exists from start-up on, but is seen only for a report.
    QCalendarWidget* m_calendario = nullptr;
};
