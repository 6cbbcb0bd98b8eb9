#pragma once

#include "AppError.h"

// A failure reported by the driver manager or the driver. message() is the driver's own text, so the
// user and the log see what the database said; sqlState tells a lost connection from a refused statement.
class DatabaseError : public AppError {
public:
    DatabaseError(const QString& message, const QString& sqlState = {}, int nativeCode = 0)
        : AppError(message), m_sqlState(sqlState), m_nativeCode(nativeCode)
    {
    }

    const QString& sqlState() const noexcept { return m_sqlState; }
    int nativeCode() const noexcept { return m_nativeCode; }

    // Class 08 is "connection exception": the statement never reached a working server.
    bool isConnectionLost() const { return m_sqlState.startsWith(QLatin1String("08")); }

private:
    QString m_sqlState;
    int m_nativeCode;
};
