#pragma once

#include <QString>

// Every statement the user context sends, and with them every table and column of the accounting
// database that it names. The texts are the ones the print-accounting server's other clients know;
// change them only together with the database.
namespace Consultas {

inline const QString DataDoServidor = QStringLiteral("select sysdate()");

inline const QString UsuarioPorLogin = QStringLiteral("SELECT cod_usuario FROM usuario WHERE login = :P1");

inline const QString UsuarioPorLoginESenha =
    QStringLiteral(" select cod_usuario from usuario  where login = lcase(:P1) and password = lcase(:P2)");

inline const QString TipoPolitica =
    QStringLiteral("select dia, mes from inicializacao inner join politica on inicializacao.cod_politica = "
                   "politica.cod_politica "
                   "inner join usuario on politica.cod_grupo = usuario.cod_grupo where cod_usuario = :P1 ");
inline const QString ColunaDia = QStringLiteral("dia");
inline const QString ColunaMes = QStringLiteral("mes");

inline const QString QuotaPadrao = QStringLiteral(
    " select quota_padrao  from modp  left join politica on modp.cod_politica = politica.cod_politica  where "
    "modp.cod_usuario = :P1");

inline const QString ContasDoUsuario =
    QStringLiteral("select count(cod_usuario) from modp where modp.cod_usuario =:P1");

inline const QString PoliticasDoGrupo = QStringLiteral(
    "select count(politica.cod_politica) from politica inner join usuario on usuario.cod_grupo = "
    "politica.cod_grupo where usuario.cod_usuario = :P1");

inline const QString QuotaInfinita = QStringLiteral(" select politica.quota_infinita  from politica  inner "
                                                    "join usuario on politica.cod_grupo = usuario.cod_grupo  "
                                                    " where usuario.cod_usuario = :P1");

inline const QString InstanciasDoEndereco = QStringLiteral("select count(*) from instancia where ip = :P1");
inline const QString InsereInstancia =
    QStringLiteral("insert into instancia(cod_usuario, ip) values (:P1, :P2)");
inline const QString AtualizaInstancia =
    QStringLiteral("update instancia set cod_usuario = :P1 where ip = :P2");

inline const QString PaginasImpressasNoMes = QStringLiteral(
    "select sum(paginas) from impressoes where substring(data_impressao,1,7) = :P1 and cod_usuario = :P2 and "
    "cod_status_impressao = 1");

inline const QString QuotaRestante = QStringLiteral("select quota from modp where cod_usuario = :P1");

} // namespace Consultas
