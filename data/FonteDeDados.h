#pragma once

#include <QByteArray>
#include <QString>

// Where the agent finds its database: the workstation's system data source, the driver it is created
// with on a workstation that has none, the database, and the agent's own account on it.
struct FonteDeDados {
    QString Nome = QStringLiteral("CorvelLane");
    QByteArray Driver = QByteArrayLiteral("MySQL ODBC 5.1 Driver");
    QString Banco = QStringLiteral("CORVELLANE");
    QString Usuario = QStringLiteral("corvellane");
    QString Senha = QStringLiteral("mabel7");

    // What the agent opens the data source with.
    QString CadeiaDeConexao() const;
    // The attribute list of SQLConfigDataSource that creates the data source for a server: key=value
    // entries, each ended by a NUL, and one more NUL after the last. The address goes in exactly as typed.
    QByteArray ListaDeAtributos(const QString& servidor) const;
};
