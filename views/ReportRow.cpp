#include "ReportRow.h"

#include "CampoData.h"
#include "ResultSet.h"
#include "TUtil.h"

#include <QDateTime>
#include <QLocale>

const QString ReportRow::statement = QStringLiteral(
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
const QList<Dataset::Field> ReportRow::fields{{QStringLiteral("COD_IMPRESSOES"), Kind::Integer},
                                              {QStringLiteral("data_impressao"), Kind::Date},
                                              {QStringLiteral("nome_grupo"), Kind::Text},
                                              {QStringLiteral("estacao"), Kind::Text},
                                              {QStringLiteral("nome_documento"), Kind::Text},
                                              {QStringLiteral("paginas"), Kind::Integer},
                                              {QStringLiteral("nome_status"), Kind::Text},
                                              {QStringLiteral("nome_impressora"), Kind::Text},
                                              {QStringLiteral("cod_status_impressao"), Kind::Integer},
                                              {QStringLiteral("obs"), Kind::Text}};

QList<ReportRow> ReportRow::ofPeriod(OdbcConnection& conexao, int codUsuario, const QDate& inicio,
                                     const QDate& fim)
{
    Dataset consulta(conexao);
    consulta.setFields(fields);
    consulta.setSql(statement);
    TUtil::GravaLog(QStringLiteral("Montou o sql"));

    consulta.setParameter(QStringLiteral("PCodUsuario"), codUsuario);
    consulta.setParameter(QStringLiteral("PdataIni"), QDateTime(inicio, QTime(0, 0)));
    consulta.setParameter(QStringLiteral("PDataFim"), QDateTime(fim, QTime(0, 0)));
    TUtil::GravaLog(QStringLiteral("Montou os parametros"));

    consulta.open();
    TUtil::GravaLog(QStringLiteral("abriu a query do relatorio"));
    return ReportRow::fromResult(consulta.result());
}

QList<ReportRow> ReportRow::fromResult(ResultSet result)
{
    // Each column's place is looked up once, not by name on every row.
    const auto column = [&result](const char* name) { return result.columnIndex(QLatin1String(name)); };
    const qsizetype job = column("COD_IMPRESSOES");
    const qsizetype date = column("data_impressao");
    const qsizetype group = column("nome_grupo");
    const qsizetype printer = column("nome_impressora");
    const qsizetype station = column("estacao");
    const qsizetype document = column("nome_documento");
    const qsizetype pages = column("paginas");
    const qsizetype status = column("nome_status");
    const qsizetype observation = column("obs");
    const qsizetype statusCode = column("cod_status_impressao");

    // A field's printed text; the locale and its date format are taken once for all the rows.
    const QLocale locale = QLocale::system();
    const QString dateFormat = CampoData::Formato();
    const auto field = [&](qsizetype at) {
        const QVariant value = result.field(at);
        if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime)
            return locale.toString(value.toDate(), dateFormat);
        return value.toString(); // empty for NULL
    };
    QList<ReportRow> rows;
    rows.reserve(result.recordCount());
    for (result.first(); !result.eof(); result.next())
        rows.append({field(job), field(date), field(group), field(printer), field(station), field(document),
                     field(pages), field(status), field(observation), result.field(statusCode)});
    return rows;
}
