// How long a report of many jobs keeps the agent busy: the query, the layout and a PDF of every page,
// against the bare cost of writing as many text lines with QPdfWriter. The two are measured in turns,
// a few rounds each, and compared by their medians: the machine is shared and one round can stall.
// The preview's generation and the per-row log line are measured too, for the record.
//
// It empties the tables of the database it reaches: run it against the throwaway test server only,
//   scripts/testdb start && eval "$(scripts/testdb env)" && build/bench/report_bench [jobs]
// Its last line is the row scripts/bench puts in its table.

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
#include "TUtil.h"
#include "TdtmMain.h"
#include "TestDatabase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int rounds = 3;

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

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// 10000 as "10,000", as the table names the count.
std::string withThousands(long long value)
{
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

struct AgentRound {
    double query = 0;
    double rows = 0;
    double layout = 0;
    double pdf = 0;
    double total() const { return query + rows + layout + pdf; }
};

struct Results {
    qsizetype jobs = 0;
    qsizetype pages = 0;
    std::vector<AgentRound> agent;
    std::vector<double> reference;
    std::vector<double> logLines;
    double preview = 0;
};

// What the agent does for "Visualizar" up to the pages, with a PDF in place of the preview.
AgentRound runAgent(const TContext& context, const QString& pdf, QList<ReportRow>& rows)
{
    AgentRound round;
    QElapsedTimer clock;
    clock.start();
    Dataset& query = dtmMain->qryRelatorio;
    query.close();
    query.setSql(PainelRelatorio::SqlRelatorio);
    query.setParameter("PCodUsuario", context.CodUsuario());
    query.setParameter("PdataIni", QDateTime(QDate(2024, 3, 1), QTime(0, 0)));
    query.setParameter("PDataFim", QDateTime(QDate(2024, 3, 31), QTime(0, 0)));
    query.open();
    round.query = seconds(clock);
    rows = ReportRow::fromResult(query.result());
    round.rows = seconds(clock);
    ReportLayout::paginate(rows.size());
    round.layout = seconds(clock);

    TFrmRelImpPeriodo form(rows, nullptr);
    form.RichEdit1 = {{"Impressões efetuadas pelo usuário ", false}, {"jsilva", true}};
    clock.restart();
    form.GeraPdf(pdf);
    round.pdf = seconds(clock);
    return round;
}

// The bare cost of as many lines of text in a PDF.
double runReference(const QList<ReportRow>& rows, const QString& pdf)
{
    QElapsedTimer clock;
    clock.start();
    QPdfWriter writer(pdf);
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
    painter.end();
    return seconds(clock);
}

// The log line each detail band writes, alone: its share of the PDF's time.
double runLogLines(qsizetype count)
{
    QElapsedTimer clock;
    clock.start();
    for (qsizetype i = 0; i < count; ++i)
        TUtil::GravaLog(ExecutableFolder::path(), QStringLiteral("QRBand2BeforePrint do relatório"));
    return seconds(clock);
}

Results measure(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const int jobs = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;

    ScratchFolder folder; // Log.txt and the PDFs go to a temporary folder
    folder.installPicture("CorvelLane_Rel.bmp");
    ScriptedMessageBoxes boxes;
    TestDatabase::connect();
    fill(jobs);
    AccountName::setForTesting("jsilva");
    LocalAddress::setForTesting("10.1.2.3");
    TContext context(folder.path());

    Results results;
    QList<ReportRow> rows;
    runAgent(context, folder.path() + "relatorio.pdf", rows); // warms the server, the fonts, the caches
    results.jobs = rows.size();
    results.pages = ReportLayout::paginate(rows.size()).size();
    for (int round = 0; round < rounds; ++round) {
        results.reference.push_back(runReference(rows, folder.path() + "linhas.pdf"));
        results.agent.push_back(runAgent(context, folder.path() + "relatorio.pdf", rows));
        results.logLines.push_back(runLogLines(rows.size()));
    }

    // What the user waits for after "Visualizar": the whole run up to the preview on screen.
    PainelRelatorio panel([&context] { return &context; });
    panel.edtDataIni->setDate(QDate(2024, 3, 1));
    panel.edtDataFim->setDate(QDate(2024, 3, 31));
    QElapsedTimer clock;
    clock.start();
    panel.Button2D3Click();
    results.preview = seconds(clock);

    delete FrmRelImpPeriodo;
    TestDatabase::disconnect();
    return results;
}

double medianOf(const std::vector<AgentRound>& rounds, double (*phase)(const AgentRound&))
{
    std::vector<double> values;
    for (const AgentRound& round : rounds)
        values.push_back(phase(round));
    return median(values);
}

} // namespace

int main(int argc, char* argv[])
{
    // Everything Qt has to say is said before the figures, so that the table row stays the last line.
    const Results results = measure(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // Qt took the user's locale: the figures keep their '.'

    const double agent = medianOf(results.agent, [](const AgentRound& r) { return r.total(); });
    const double reference = median(results.reference);
    const double ratio = agent / reference;
    const std::string count = withThousands(results.jobs);
    std::printf("jobs %s, pages %lld; medians of %d rounds\n", count.c_str(),
                static_cast<long long>(results.pages), rounds);
    std::printf("query and fetch        %7.3f s\n",
                medianOf(results.agent, [](const AgentRound& r) { return r.query; }));
    std::printf("rows to texts          %7.3f s\n",
                medianOf(results.agent, [](const AgentRound& r) { return r.rows; }));
    std::printf("layout                 %7.3f s\n",
                medianOf(results.agent, [](const AgentRound& r) { return r.layout; }));
    std::printf("PDF of every page      %7.3f s\n",
                medianOf(results.agent, [](const AgentRound& r) { return r.pdf; }));
    std::printf("  its log lines        %7.3f s (one per detail band, written alone)\n",
                median(results.logLines));
    std::printf("agent in all           %7.3f s\n", agent);
    std::printf("QPdfWriter text lines  %7.3f s\n", reference);
    std::printf("run up to the preview  %7.3f s (query, form, preview generation; one run)\n",
                results.preview);
    std::printf(
        "| report of %s jobs (query, layout, PDF) vs QPdfWriter lines (s) | %.3f | %.3f (QPdfWriter, same "
        "number of lines) | %.2f | at most 2 × | %s |\n",
        count.c_str(), agent, reference, ratio, ratio <= 2.0 ? "pass" : "FAIL");
    return 0;
}
