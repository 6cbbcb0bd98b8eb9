#pragma once

#include <QString>

// Every statement of the prompts: the cost-centre list they offer, and the updates that write an answer
// into the job's row, the only columns of impressoes the agent writes. The texts are the ones the
// print-accounting server's other clients know; change them only together with the database.
namespace ConsultasDosPrompts {

inline const QString CentrosDeCusto =
    QStringLiteral("select * from centro_custo\r\norder by nome_centro_custo");

inline const QString AtribuiCentroCusto =
    QStringLiteral("update impressoes set cod_centro_custo =:p1 \r\nwhere cod_impressoes = :p2 ");

inline const QString AtribuiObservacao =
    QStringLiteral("update impressoes set obs =:p1 \r\nwhere cod_impressoes = :p2 ");

inline const QString AtribuiCentroCustoObs =
    QStringLiteral("update impressoes set cod_centro_custo =:p1, obs = :p2 \r\nwhere cod_impressoes = :p3 ");

} // namespace ConsultasDosPrompts
