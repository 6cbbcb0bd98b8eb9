#pragma once

#include <QList>
#include <QString>
#include <optional>

class OdbcConnection;

// One entry of the prompts' cost-centre lists. The lists reach the window as these values, never as
// the database's cursor.
struct CentroDeCusto {
    int codigo = 0;
    QString nome;

    // The cost-centre list as the database has it now, ordered by name. Code 0 is the server's "no cost
    // centre": never offered to the user. Throws when it cannot be read.
    static QList<CentroDeCusto> LeLista(OdbcConnection& conexao);
    // The code of the list's entry for codigo, compared as numbers ("7" and "07" both find 7); nothing
    // when the list has no such entry, or codigo is a number beyond 32 bits. Throws AppError when codigo
    // is not a number and the list has an entry to compare it with.
    static std::optional<int> Localiza(const QList<CentroDeCusto>& lista, const QString& codigo);
};
