// How long a report of many jobs keeps the agent busy: the query, the layout, the preview's generation
// and a PDF of every page, against the bare cost of writing as many text lines with QPdfWriter.
//
// It empties the tables of the database it reaches: run it against the throwaway test server only,
//   scripts/testdb start && eval "$(scripts/testdb env)" && build/bench/report_bench [jobs]

#include "AccountName.h"
#include "CampoData.h"
#include "ExecutableFolder.h"
#include "LocalAddress.h"
#include "MessageBoxes.h"
#include "PainelRelatorio.h"
#include "ReportLayout.h"
#include "ScratchFolder.h"
#include "TContext.h"
#include "TFrmRelImpPeriodo.h"
#include "TdtmMain.h"
#include "TestDatabase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>

namespace {

void fill(int jobs)
{
    TestDatabase::clearTables();
    TestDatabase::exec("insert into grupo values (1, 'Financeiro')");
    TestDatabase::exec("insert into usuario values (5, 'jsilva', '', 1)");
    TestDatabase::exec("insert into impressora values (1, 'HP-Financeiro', 'fila1')");
    TestDatabase::exec("insert into status_impressao values (1, 'Impresso', null), (2, 'Cancelado', null)");
    TestDatabase::exec("set max_recursive_iterations = :P1", {jobs + 1});
    TestDatabase::exec(
        "insert into impressoes(cod_usuario, cod_impressora, cod_status_impressao, data_impressao, "
        "nome_documento, paginas, estacao, obs) "
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < :P1) "
        "select 5, 1, 1 + (i % 4 = 0), '2024-03-01' + interval (i % 28) day, "
        "concat('Relatório trimestral de despesas operacionais número ', i, '.xlsx'), i % 50, 'EST-01', "
        "if(i % 3 = 0, concat('Observação ', i), null) from n",
        {jobs});
}

double seconds(QElapsedTimer& clock)
{
    const double elapsed = double(clock.nsecsElapsed()) / 1e9;
    clock.restart();
    return elapsed;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const int jobs = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;

    ScratchFolder folder; // Log.txt and the PDFs go to a temporary folder
    ScriptedMessageBoxes boxes;
    TestDatabase::connect();
    fill(jobs);
    AccountName::setForTesting("jsilva");
    LocalAddress::setForTesting("10.1.2.3");
    TContext context(folder.path());

    QElapsedTimer clock;
    clock.start();
    Dataset& query = dtmMain->qryRelatorio;
    query.setSql(PainelRelatorio::SqlRelatorio);
    query.setParameter("PCodUsuario", context.CodUsuario());
    query.setParameter("PdataIni", QDateTime(QDate(2024, 3, 1), QTime(0, 0)));
    query.setParameter("PDataFim", QDateTime(QDate(2024, 3, 31), QTime(0, 0)));
    query.open();
    const double queryTime = seconds(clock);
    QList<ReportRow> rows = ReportRow::fromResult(query.result());
    const double rowsTime = seconds(clock);
    const qsizetype pages = ReportLayout::paginate(rows.size()).size();
    const double layoutTime = seconds(clock);

    TFrmRelImpPeriodo form(rows, nullptr);
    form.RichEdit1 = {{"Impressões efetuadas pelo usuário ", false}, {"jsilva", true}};
    clock.restart();
    form.GeraPdf(folder.path() + "relatorio.pdf");
    const double pdfTime = seconds(clock);

    // What the user waits for after "Visualizar": the whole run up to the preview on screen.
    PainelRelatorio panel([&context] { return &context; });
    panel.edtDataIni->setDate(QDate(2024, 3, 1));
    panel.edtDataFim->setDate(QDate(2024, 3, 31));
    clock.restart();
    panel.Button2D3Click();
    const double runTime = seconds(clock);

    // The bare cost of as many lines of text in a PDF.
    {
        QPdfWriter writer(folder.path() + "linhas.pdf");
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Landscape);
        QPainter painter(&writer);
        painter.setFont(QFont("Liberation Sans", 8));
        const int lineHeight = painter.fontMetrics().height();
        const int perPage = writer.height() / lineHeight;
        for (int i = 0; i < rows.size(); ++i) {
            if (i > 0 && i % perPage == 0)
                writer.newPage();
            painter.drawText(0, (i % perPage + 1) * lineHeight,
                             rows.at(i).job + ' ' + rows.at(i).date + ' ' + rows.at(i).document);
        }
    }
    const double linesTime = seconds(clock);

    std::printf("jobs %lld, pages %lld\n", static_cast<long long>(rows.size()),
                static_cast<long long>(pages));
    std::printf("query and fetch        %7.3f s\n", queryTime);
    std::printf("rows to texts          %7.3f s\n", rowsTime);
    std::printf("layout                 %7.3f s\n", layoutTime);
    std::printf("PDF of every page      %7.3f s\n", pdfTime);
    std::printf("run up to the preview  %7.3f s (query, form, preview generation)\n", runTime);
    std::printf("QPdfWriter text lines  %7.3f s\n", linesTime);
    delete FrmRelImpPeriodo;
    TestDatabase::disconnect();
    return 0;
}
