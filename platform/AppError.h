#pragma once

#include <QString>
#include <stdexcept>

// The agent's errors travel as this exception up to the event guard, which shows message() in the
// application's standard error box. Keeping the text as QString spares every catch site a conversion.
class AppError : public std::runtime_error {
public:
    explicit AppError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message)
    {
    }

    const QString& message() const noexcept { return m_message; }

private:
    QString m_message;
};
