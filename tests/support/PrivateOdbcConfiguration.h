#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A driver-manager system configuration of the test's own: ODBCSYSINI points at a scratch folder
// holding odbcinst.ini and odbc.ini. unixODBC reads ODBCSYSINI once per process, so one must exist
// before the process's first ODBC call, and only one per process. HOME moves into it too, so that the
// user's own ~/.odbc.ini is neither read nor written.
class PrivateOdbcConfiguration {
public:
    PrivateOdbcConfiguration();

    QString path() const; // with a trailing '/'

    void setOdbcInst(const QByteArray& text);
    // Also makes the driver manager forget what it read from the old file.
    void setOdbcIni(const QByteArray& text);
    // The user data sources (~/.odbc.ini).
    void setUserOdbcIni(const QByteArray& text);
    QByteArray odbcInst() const;
    QByteArray odbcIni() const;

    // key=value lines of one section of odbc.ini, as written; empty when the section is absent.
    QStringList section(const QString& name) const;

private:
    void forgetCachedReads();

    QTemporaryDir m_dir;
};
