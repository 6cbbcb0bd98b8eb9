// What the user waits for after "Visualizar" on a report of many jobs: from the click to the preview on
// screen (the query, the rows, every page generated into the preview, the dialog mapped and painted),
// against a QPrintPreviewDialog on the same printer that, after the same query, draws the same cell
// texts at the same places with plain QPainter::drawText: no bands, rules, fills, totals or page logic of
// ours. The two take turns, a few rounds each, and are compared by their medians: the machine is shared
// and one round can stall.
//
// It empties the tables of the database it reaches: run it against the throwaway test server only, on a
// display (scripts/bench runs it on its virtual one),
//   scripts/testdb start && eval "$(scripts/testdb env)" && build/bench/report_bench [jobs [rounds]]
// Its last line is the row scripts/bench puts in its table.

#include "CampoData.h"
#include "Dataset.h"
#include "Fonts.h"
#include "LocalAddress.h"
#include "MessageBoxes.h"
#include "PainelRelatorio.h"
#include "ReportGeometry.h"
#include "ReportRenderer.h"
#include "ScratchFolder.h"
#include "TContext.h"
#include "TFrmRelImpPeriodo.h"
#include "TdtmMain.h"
#include "TestDatabase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWindow>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

namespace RG = ReportGeometry;

namespace {

const QDate firstDay(2024, 3, 1);
const QDate lastDay(2024, 3, 31);

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

// On screen: the dialog's window mapped by the display and the paint that follows done.
void waitUntilOnScreen(QWidget& dialog)
{
    while (!dialog.windowHandle() || !dialog.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QCoreApplication::processEvents();
}

void processDeferredDeletes()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The agent, from the click on "Visualizar" to its preview on screen; the preview and its form are
// closed afterwards, outside the time.
double runAgent(PainelRelatorio& panel)
{
    QElapsedTimer clock;
    clock.start();
    panel.Button2D3Click();
    auto* form = panel.findChildren<TFrmRelImpPeriodo*>().last();
    waitUntilOnScreen(*form->Previa());
    const double elapsed = double(clock.nsecsElapsed()) / 1e9;
    delete form;
    processDeferredDeletes();
    return elapsed;
}

QList<ReportRow> queryRows(const TContext& context)
{
    Dataset query(TestDatabase::dataModule().dbCorvelLane);
    query.setFields(ReportRow::fields);
    query.setSql(ReportRow::statement);
    query.setParameter("PCodUsuario", context.CodUsuario());
    query.setParameter("PdataIni", QDateTime(firstDay, QTime(0, 0)));
    query.setParameter("PDataFim", QDateTime(lastDay, QTime(0, 0)));
    query.open();
    return ReportRow::fromResult(query.result());
}

// Every text of the report in its cell, one drawText each, pages turned by a count of rows.
void drawCells(QPrinter& printer, const QList<ReportRow>& rows)
{
    QPainter painter(&printer);
    const double scale = printer.logicalDpiX() / 25.4;
    const auto cell = [&](const RG::Box& box, double top) {
        return QRectF(box.left * scale, (top + box.top) * scale, box.width * scale, box.height * scale);
    };
    const QFont title = Fonts::arial(10);
    const QFont header = Fonts::arial(9, true);
    const QFont detail = Fonts::arial(8);
    const int firstPageRows = int((RG::AreaHeight - RG::TitleHeight - RG::HeaderHeight) / RG::DetailHeight);
    const int laterPageRows = int((RG::AreaHeight - RG::HeaderHeight) / RG::DetailHeight);

    double top = RG::TitleHeight;
    int left = firstPageRows;
    painter.setFont(title);
    painter.drawText(
        cell(RG::Title, 0), Qt::AlignLeft,
        QStringLiteral("Impressões efetuadas pelo usuário jsilva no intervalo entre 01/03/2024 e "
                       "31/03/2024."));
    for (qsizetype i = 0; i <= rows.size(); ++i) {
        if (left == 0) {
            printer.newPage();
            top = 0;
            left = laterPageRows;
        }
        if (top <= RG::TitleHeight) {
            painter.setFont(header);
            for (const RG::Caption& caption : RG::HeaderCaptions)
                painter.drawText(cell({caption.left, 0, caption.width, RG::HeaderHeight}, top),
                                 Qt::AlignCenter, QString::fromUtf16(caption.text));
            top += RG::HeaderHeight;
        }
        if (i == rows.size()) {
            painter.drawText(cell(RG::SummaryCaption, top), Qt::AlignLeft | Qt::AlignVCenter,
                             QStringLiteral("Total de páginas Impressas...:"));
            break;
        }
        const ReportRow& row = rows.at(i);
        painter.setFont(detail);
        painter.drawText(cell(RG::JobCode, top), Qt::AlignHCenter, row.job);
        painter.drawText(cell(RG::Date, top), Qt::AlignHCenter, row.date);
        painter.drawText(cell(RG::Group, top), Qt::AlignHCenter, row.group);
        painter.drawText(cell(RG::Printer, top), Qt::AlignHCenter, row.printer);
        painter.drawText(cell(RG::Station, top), Qt::AlignHCenter, row.station);
        painter.drawText(cell(RG::Document, top), Qt::AlignHCenter, row.document);
        painter.drawText(cell(RG::Pages, top), Qt::AlignHCenter, row.pages);
        painter.drawText(cell(RG::Status, top), Qt::AlignHCenter, row.status);
        painter.drawText(cell(RG::Observation, top), Qt::AlignLeft, row.observation);
        painter.setFont(header);
        painter.drawText(cell(RG::ObservationCaption, top), Qt::AlignHCenter, QStringLiteral("Observações:"));
        top += RG::DetailHeight;
        --left;
    }
}

// The reference: the same query and rows, then a preview dialog of the same size on the same page.
double runReference(const TContext& context)
{
    QElapsedTimer clock;
    clock.start();
    const QList<ReportRow> rows = queryRows(context);
    QPrinter printer(QPrinter::HighResolution);
    ReportRenderer::setUpPage(printer);
    QPrintPreviewDialog dialog(&printer);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [&rows](QPrinter* on) { drawCells(*on, rows); });
    dialog.resize(900, 650);
    dialog.show();
    waitUntilOnScreen(dialog);
    return double(clock.nsecsElapsed()) / 1e9;
}

struct Results {
    qsizetype jobs = 0;
    std::vector<double> agent;
    std::vector<double> reference;
};

Results measure(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const int jobs = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    const int rounds = argc > 2 ? QByteArray(argv[2]).toInt() : 3;

    ScratchFolder folder; // Log.txt goes to a temporary folder
    folder.installPicture("CorvelLane_Rel.bmp");
    ScriptedMessageBoxes boxes;
    TestDatabase::connect();
    fill(jobs);
    LocalAddress::setForTesting("10.1.2.3");
    TContext context(TestDatabase::dataModule().dbCorvelLane, folder.path(), QStringLiteral("jsilva"));
    PainelRelatorio panel(TestDatabase::dataModule().dbCorvelLane, [&context] { return &context; });
    panel.edtDataIni->setDate(firstDay);
    panel.edtDataFim->setDate(lastDay);

    Results results;
    results.jobs = queryRows(context).size();
    runAgent(panel); // warms the server, the fonts and the dialog's code
    runReference(context);
    for (int round = 0; round < rounds; ++round) {
        results.reference.push_back(runReference(context));
        results.agent.push_back(runAgent(panel));
    }
    TestDatabase::disconnect();
    return results;
}

} // namespace

int main(int argc, char* argv[])
{
    // Everything Qt has to say is said before the figures, so that the table row stays the last line.
    const Results results = measure(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // Qt took the user's locale: the figures keep their '.'

    const double agent = median(results.agent);
    const double reference = median(results.reference);
    const double ratio = agent / reference;
    const std::string count = withThousands(results.jobs);
    std::printf("jobs %s; medians of %zu rounds\n", count.c_str(), results.agent.size());
    for (std::size_t i = 0; i < results.agent.size(); ++i)
        std::printf("round %zu: agent %.3f s, reference %.3f s\n", i + 1, results.agent[i],
                    results.reference[i]);
    std::printf(
        "| \"Visualizar\" to the report's preview on screen, %s jobs (s) | %.3f | %.3f (QPrintPreviewDialog, "
        "plain drawText of the same cells) | %.2f | at most 1.5 × | %s |\n",
        count.c_str(), agent, reference, ratio, ratio <= 1.5 ? "pass" : "FAIL");
    return 0;
}
