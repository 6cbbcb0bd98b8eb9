#include "AppError.h"
#include "CampoData.h"
#include "Dataset.h"
#include "JanelasDoAgente.h"
#include "LocalAddress.h"
#include "MessageBoxes.h"
#include "PainelRelatorio.h"
#include "ScratchFolder.h"
#include "Skip.h"
#include "TButton2D.h"
#include "TContext.h"
#include "TFrmRelImpPeriodo.h"
#include "TdtmMain.h"
#include "TestDatabase.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <memory>

namespace {

const QString bandLine = QStringLiteral("QRBand2BeforePrint do relatório");
const QStringList runLines{"Converteu as datas", "Montou o sql", "Montou os parametros",
                           "abriu a query do relatorio", "testou se o relatorio esta vazio"};

// jsilva (user 5, group 1) prints on printer 1; user 6 is someone else in the same group.
struct Installation {
    static void create()
    {
        TestDatabase::exec("insert into grupo values (1, 'Financeiro')");
        TestDatabase::exec("insert into usuario values (5, 'jsilva', '', 1), (6, 'mcosta', '', 1)");
        TestDatabase::exec("insert into impressora values (1, 'HP-Financeiro', 'fila1')");
        TestDatabase::exec(
            "insert into status_impressao values (1, 'Impresso', null), (2, 'Cancelado', 'x')");
    }
    static void job(int code, const QDate& date, int pages, int status = 1, int user = 5, int printer = 1,
                    const QString& document = "Contrato.doc", const QString& obs = {})
    {
        TestDatabase::exec("insert into impressoes(cod_impressoes, cod_usuario, cod_impressora, "
                           "cod_status_impressao, data_impressao, nome_documento, paginas, estacao, obs) "
                           "values (:P1, :P2, :P3, :P4, :P5, :P6, :P7, 'EST-01', :P8)",
                           {code, user, printer, status, date, document,
                            pages < 0 ? QVariant() : QVariant(pages), obs.isNull() ? QVariant() : obs});
    }
};

QDate march(int day)
{
    return QDate(2024, 3, day);
}

QList<int> jobCodes(const TFrmRelImpPeriodo& form)
{
    QList<int> codes;
    for (const ReportRow& row : form.Linhas())
        codes.append(row.job.toInt());
    return codes;
}

void processDeferredDeletes()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class tst_Relatorio : public QObject {
    Q_OBJECT

    std::unique_ptr<ScratchFolder> folder;
    std::unique_ptr<ScriptedMessageBoxes> boxes;
    std::unique_ptr<TContext> context;
    std::unique_ptr<PainelRelatorio> panel;

    // The report forms the panel's runs opened and that are still there, oldest first.
    QList<TFrmRelImpPeriodo*> forms() const { return panel->findChildren<TFrmRelImpPeriodo*>(); }
    // The latest run's form, or null.
    TFrmRelImpPeriodo* latest() const { return forms().isEmpty() ? nullptr : forms().last(); }

    void run(const QString& start, const QString& end)
    {
        panel->edtDataIni->setText(start);
        panel->edtDataFim->setText(end);
        Q_EMIT panel->Button2D3->clicked();
    }

    int bandLines() const { return int(folder->logMessages().count(bandLine)); }

private Q_SLOTS:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        TestDatabase::connect();
    }
    void cleanupTestCase() { TestDatabase::disconnect(); }

    void init()
    {
        folder = std::make_unique<ScratchFolder>();
        folder->installPicture("CorvelLane_Rel.bmp");
        TestDatabase::clearTables();
        Installation::create();
        LocalAddress::setForTesting("10.1.2.3");
        context =
            std::make_unique<TContext>(TestDatabase::dataModule().dbCorvelLane, folder->path(), "jsilva");
        QFile::remove(folder->path() + "Log.txt"); // the context's own lines are not the report's
        boxes = std::make_unique<ScriptedMessageBoxes>();
        panel = std::make_unique<PainelRelatorio>(TestDatabase::dataModule().dbCorvelLane,
                                                  [this] { return context.get(); });
    }

    void cleanup()
    {
        panel.reset(); // the report forms it owns, and their previews, go with it
        processDeferredDeletes();
        for (const QWidget* window : QApplication::topLevelWidgets())
            QVERIFY2(!qobject_cast<const QPrintPreviewDialog*>(window), "a preview outlived its form");
        boxes.reset();
        context.reset();
        LocalAddress::resetForTesting();
        folder.reset();
    }

    // Which jobs a run lists: the user's own, both ends of the range included, newest code first, and
    // only jobs whose printer, status and the user's group all have their rows.
    void listedJobs_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<bool>("dropGroup");
        QTest::addColumn<QList<int>>("codes");

        QTest::newRow("range, ends included") << "04/03/2024"
                                              << "06/03/2024" << false << QList<int>{104, 103, 102, 101};
        QTest::newRow("same day") << "05/03/2024"
                                  << "05/03/2024" << false << QList<int>{103, 102};
        QTest::newRow("start later than end") << "06/03/2024"
                                              << "04/03/2024" << false << QList<int>{};
        QTest::newRow("nothing in the range") << "01/01/2024"
                                              << "31/01/2024" << false << QList<int>{};
        QTest::newRow("the user's group row is missing") << "04/03/2024"
                                                         << "06/03/2024" << true << QList<int>{};
    }
    void listedJobs()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(bool, dropGroup);
        QFETCH(QList<int>, codes);

        Installation::job(101, march(4), 3);
        Installation::job(102, march(5), 7, 2);
        Installation::job(103, march(5), -1);
        Installation::job(104, march(6), 2);
        Installation::job(100, march(3), 1);           // the day before the range
        Installation::job(105, march(5), 1, 1, 5, 99); // printer 99 has no row
        Installation::job(106, march(5), 1, 9);        // status 9 has no row
        Installation::job(107, march(5), 1, 1, 6);     // someone else's job
        if (dropGroup)
            TestDatabase::exec("delete from grupo");

        run(start, end);

        QStringList expectedLog = runLines;
        if (codes.isEmpty()) {
            expectedLog.removeLast();
            QCOMPARE(boxes->shown().size(), 1);
            QCOMPARE(boxes->shown().at(0).kind, MessageBoxes::Kind::Information);
            QCOMPARE(boxes->shown().at(0).text, QStringLiteral("Não há impressões no intervalo informado"));
            QVERIFY(forms().isEmpty());
        } else {
            QVERIFY2(boxes->shown().isEmpty(), qPrintable(boxes->texts().join('|')));
            QCOMPARE(forms().size(), 1);
            QCOMPARE(jobCodes(*latest()), codes);
            QVERIFY(latest()->Previa() && latest()->Previa()->isVisible());
            QVERIFY(!latest()->isVisible());
            for (qsizetype i = 0; i < codes.size(); ++i) // the preview's generation
                expectedLog.append(bandLine);
        }
        QCOMPARE(folder->logMessages(), expectedLog);
    }

    // The total sums the pages of every listed job whatever its status (empty pages count 0), and each
    // generation starts again from 0 and logs one band line per job.
    void totalAndGenerations()
    {
        Installation::job(101, march(4), 3);
        Installation::job(102, march(5), 7, 2);
        Installation::job(103, march(5), -1);
        Installation::job(104, march(6), 2);

        run("04/03/2024", "06/03/2024");
        QVERIFY(latest());
        TFrmRelImpPeriodo& form = *latest();
        QCOMPARE(form.QRLabel11, QStringLiteral("12"));
        QCOMPARE(form.TotalPaginas, 0);
        QCOMPARE(bandLines(), 4);
        QCOMPARE(form.RichEdit1, (QList<TitleRun>{{"Impressões efetuadas pelo usuário ", false},
                                                  {"jsilva", true},
                                                  {" no intervalo entre ", false},
                                                  {"04/03/2024", true},
                                                  {" e ", false},
                                                  {"06/03/2024", true},
                                                  {".", false}}));

        const QString pdf = folder->path() + "relatorio.pdf";
        QCOMPARE(form.GeraPdf(pdf), 1);
        QCOMPARE(form.QRLabel11, QStringLiteral("12"));
        QCOMPARE(bandLines(), 8);
        QVERIFY(QFileInfo(pdf).size() > 0);
    }

    // The report binds to its fields by name: a result that lacks one, or has it of another kind, is an
    // error rather than a report with holes.
    void reportFieldsMustMatchTheirTypes()
    {
        Dataset query(TestDatabase::dataModule().dbCorvelLane);
        query.setFields(ReportRow::fields);
        query.setSql("select 'x' as COD_IMPRESSOES, current_date as data_impressao, '' as nome_grupo, "
                     "'' as estacao, '' as nome_documento, 1 as paginas, '' as nome_status, "
                     "'' as nome_impressora, 1 as cod_status_impressao, '' as obs");
        QVERIFY_THROWS_EXCEPTION(AppError, query.open());
        query.setSql("select 1 as COD_IMPRESSOES");
        QVERIFY_THROWS_EXCEPTION(AppError, query.open());
    }

    void documentNameIsCutTo80()
    {
        QString name;
        for (int i = 0; name.size() < 100; ++i)
            name += QString::number(i % 10);
        Installation::job(101, march(4), 1, 1, 5, 1, name);

        run("04/03/2024", "04/03/2024");
        QVERIFY(latest());
        QCOMPARE(latest()->Linhas().at(0).document, name.left(80));
    }

    // A date that is no date stops the run before the query: its field's error, the focus in that field,
    // nothing logged.
    void invalidDates_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("focused");

        QTest::newRow("blanks in the start day") << "  /03/2024"
                                                 << "06/03/2024"
                                                 << "Data Inicial Inválida."
                                                 << "edtDataIni";
        QTest::newRow("start no date at all") << "ontem"
                                              << "xx"
                                              << "Data Inicial Inválida."
                                              << "edtDataIni";
        QTest::newRow("end day that does not exist") << "04/03/2024"
                                                     << "31/02/2024"
                                                     << "Data Final Inválida."
                                                     << "edtDataFim";
        QTest::newRow("end empty") << "04/03/2024"
                                   << ""
                                   << "Data Final Inválida."
                                   << "edtDataFim";
    }
    void invalidDates()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, error);
        QFETCH(QString, focused);

        Installation::job(101, march(4), 1);
        panel->show();
        QApplication::setActiveWindow(panel.get());
        QVERIFY(QTest::qWaitForWindowActive(panel.get()));
        panel->Button2D3->setFocus(); // the focus starts elsewhere
        run(start, end);

        QCOMPARE(boxes->shown().size(), 1);
        QCOMPARE(boxes->shown().at(0).kind, MessageBoxes::Kind::ApplicationError);
        QCOMPARE(boxes->shown().at(0).text, error);
        QVERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), focused);
        QCOMPARE(folder->logMessages(), QStringList());
        QVERIFY(forms().isEmpty());
    }

    // Each run opens a preview of its own. A close request to a form whose preview is open waits for
    // the preview; a show step that closes every window takes the previews and then the forms.
    void previewsAndForms()
    {
        Installation::job(101, march(4), 1);
        Installation::job(102, march(5), 1);

        run("04/03/2024", "04/03/2024");
        QPointer<TFrmRelImpPeriodo> first = latest();
        run("05/03/2024", "05/03/2024");
        QPointer<TFrmRelImpPeriodo> second = latest();
        QVERIFY(first && second && first != second);
        QPointer<QPrintPreviewDialog> firstPreview = first->Previa();
        QVERIFY(firstPreview && firstPreview->isVisible() && second->Previa()->isVisible());
        QCOMPARE(jobCodes(*first), QList<int>{101}); // the second run did not change the first report
        QCOMPARE(jobCodes(*second), QList<int>{102});

        second->close();
        processDeferredDeletes();
        QVERIFY2(second, "freed while its preview was open");
        QVERIFY(second->Previa()->isVisible());
        second->Previa()->close();
        processDeferredDeletes();
        QVERIFY2(!second, "not freed once its preview closed");

        // The first preview closes without a request to its form: the form stays until one comes.
        firstPreview->close();
        processDeferredDeletes();
        QVERIFY(!firstPreview);
        QVERIFY(first);
        JanelasDoAgente::FechaTodasExceto(nullptr);
        processDeferredDeletes();
        QVERIFY(!first);
    }

    void missingLogoIsReportedAndTheReportGoesOn()
    {
        QFile::remove(folder->path() + "Imagens/CorvelLane_Rel.bmp");
        Installation::job(101, march(4), 5);

        run("04/03/2024", "04/03/2024");
        QCOMPARE(boxes->shown().size(), 1);
        QCOMPARE(boxes->shown().at(0).kind, MessageBoxes::Kind::ApplicationError);
        QVERIFY(boxes->shown().at(0).text.contains("CorvelLane_Rel.bmp"));
        QVERIFY(latest() && latest()->qriRelatorio.isNull());
        QVERIFY(latest()->Previa()->isVisible());
        QCOMPARE(latest()->QRLabel11, QStringLiteral("5"));
    }

    // Sixty jobs over four pages; the PDF stays in the build folder for a reviewer to look at.
    void pdfOfSixtyJobs()
    {
        int total = 0;
        for (int i = 1; i <= 60; ++i) {
            const int pages = i % 7 == 0 ? -1 : i;
            total += std::max(pages, 0);
            QString document = QStringLiteral("Documento %1.docx").arg(i);
            if (i % 5 == 0)
                document = QStringLiteral("Relatório trimestral de despesas operacionais do departamento "
                                          "financeiro, versão final revisada %1.xlsx")
                               .arg(i);
            Installation::job(1000 + i, march(1 + i % 28), pages, i % 4 == 0 ? 2 : 1, 5, 1, document,
                              i % 3 == 0 ? QStringLiteral("Observação do job %1").arg(i) : QString());
        }
        run("01/03/2024", "31/03/2024");
        QVERIFY(latest());

        const QString pdf = qEnvironmentVariable("CORVELLANE_BINARY_DIR") + "/relatorio-60.pdf";
        QCOMPARE(latest()->GeraPdf(pdf), 4);
        QCOMPARE(latest()->QRLabel11, QString::number(total));

        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            CORVELLANE_SKIP("pdftotext is not installed (poppler-utils)");
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-layout", pdf, "-"});
        QVERIFY2(pdftotext.waitForFinished(30000), "pdftotext did not finish");
        QVERIFY2(pdftotext.exitStatus() == QProcess::NormalExit && pdftotext.exitCode() == 0,
                 qPrintable("pdftotext rejected the PDF: " +
                            QString::fromLocal8Bit(pdftotext.readAllStandardError())));
        const QStringList pages =
            QString::fromUtf8(pdftotext.readAllStandardOutput()).split('\f', Qt::SkipEmptyParts);
        QCOMPARE(pages.size(), 4);
        for (const QString& page : pages) {
            QVERIFY(page.contains("Páginas"));
            QVERIFY(page.contains("Observações:"));
        }
        QVERIFY(
            pages.at(0).contains("Impressões efetuadas pelo usuário jsilva no intervalo entre 01/03/2024"));
        QVERIFY(!pages.at(1).contains("Impressões efetuadas"));
        QVERIFY(pages.last().contains(
            QRegularExpression("Total de páginas Impressas\\.\\.\\.:\\s+" + QString::number(total))));
        // A document name too long for its cell ends in "…" on its one line.
        QVERIFY(pages.first().contains("Relatório trimestral de despesas"));
        QVERIFY(pages.first().contains("…"));
        QVERIFY(!pages.first().contains("revisada"));
        // Newest job code first: 1060 opens the first page, 1001 closes the last.
        QVERIFY(pages.first().indexOf("1060") < pages.first().indexOf("1059"));
        QVERIFY(pages.last().contains("1001"));
    }
};

QTEST_MAIN(tst_Relatorio)
#include "tst_Relatorio.moc"
