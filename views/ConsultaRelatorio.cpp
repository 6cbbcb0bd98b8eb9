#include "ConsultaRelatorio.h"

#include "ExecutableFolder.h"
#include "TUtil.h"

#include <QDateTime>

namespace ConsultaRelatorio {

const QString Sql = QStringLiteral(
    "SELECT impressoes.cod_impressoes, impressoes.data_impressao, impressoes.hora_impressao, "
    "impressora.fila_virtual, usuario.login, grupo.nome_grupo, substring(impressoes.nome_documento,1,80) AS "
    "nome_documento, impressoes.paginas, impressoes.estacao, status_impressao.erro, "
    "status_impressao.nome_status, "
    "impressora.nome_impressora, impressoes.cod_status_impressao, impressoes.obs FROM impressoes,impressora, "
    "usuario, status_impressao, grupo WHERE impressoes.cod_usuario = usuario.cod_usuario and "
    "impressoes.cod_impressora = impressora.cod_impressora and status_impressao.cod_status_impressao = "
    "impressoes.cod_status_impressao and usuario.cod_grupo = grupo.cod_grupo and impressoes.cod_usuario = "
    ":PCodUsuario and data_impressao between :PdataIni and :PDataFim ORDER BY impressoes.cod_impressoes "
    "DESC");

using Kind = Dataset::FieldKind;
const QList<Dataset::Field> Campos{{QStringLiteral("COD_IMPRESSOES"), Kind::Integer},
                                   {QStringLiteral("data_impressao"), Kind::Date},
                                   {QStringLiteral("nome_grupo"), Kind::Text},
                                   {QStringLiteral("estacao"), Kind::Text},
                                   {QStringLiteral("nome_documento"), Kind::Text},
                                   {QStringLiteral("paginas"), Kind::Integer},
                                   {QStringLiteral("nome_status"), Kind::Text},
                                   {QStringLiteral("nome_impressora"), Kind::Text},
                                   {QStringLiteral("cod_status_impressao"), Kind::Integer},
                                   {QStringLiteral("obs"), Kind::Text}};

QList<ReportRow> Le(OdbcConnection& conexao, int codUsuario, const QDate& inicio, const QDate& fim)
{
    const auto registra = [](const QString& mensagem) {
        TUtil::GravaLog(ExecutableFolder::path(), mensagem);
    };
    Dataset consulta(conexao);
    consulta.setFields(Campos);
    consulta.setSql(Sql);
    registra(QStringLiteral("Montou o sql"));

    consulta.setParameter(QStringLiteral("PCodUsuario"), codUsuario);
    consulta.setParameter(QStringLiteral("PdataIni"), QDateTime(inicio, QTime(0, 0)));
    consulta.setParameter(QStringLiteral("PDataFim"), QDateTime(fim, QTime(0, 0)));
    registra(QStringLiteral("Montou os parametros"));

    consulta.open();
    registra(QStringLiteral("abriu a query do relatorio"));
    return ReportRow::fromResult(consulta.result());
}

} // namespace ConsultaRelatorio
