#pragma once

#include "Dataset.h"

#include <memory>

// The connection wrapper and the three query helpers through which the user context issues its
// parameterised statements, on the connection it was given. Values bind by position to the markers of
// the text.
class TConexao {
public:
    // Keeps a reference to the connection (not owned) and opens it when it is closed.
    explicit TConexao(OdbcConnection& conexaoADO);

    // An open query positioned on its first row; the caller owns it. An empty result is valid.
    std::unique_ptr<Dataset> AbreConsulta(const QString& sql, const QList<QVariant>& valores);

    // The first column of the first row, or padrao when there is no row or that value is NULL.
    // A database error is passed on, never turned into the default.
    QVariant ConsultaValor(const QString& sql, const QList<QVariant>& valores, const QVariant& padrao);

    // Rows affected, as the driver reports them. The statement writes: once it may have reached the
    // server it is not sent again.
    int ExecutaComando(const QString& sql, const QList<QVariant>& valores);

private:
    std::unique_ptr<Dataset> Prepara(const QString& sql, const QList<QVariant>& valores);

    OdbcConnection& ConexaoADO;
};
