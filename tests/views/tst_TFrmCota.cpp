#include "JanelasDoAgente.h"
#include "LocalAddress.h"
#include "MessageBoxes.h"
#include "ScratchFolder.h"
#include "TButton2D.h"
#include "TContext.h"
#include "TFrmCota.h"
#include "TdtmMain.h"
#include "TestDatabase.h"
#include "TestRows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

// Stands in for the main window: its show step closes every other window, and a close only hides it.
class JanelaPrincipal : public QWidget {
public:
    JanelaPrincipal() { setWindowTitle("CorvelLane 1.27"); }

protected:
    void showEvent(QShowEvent* event) override
    {
        QWidget::showEvent(event);
        if (!event->spontaneous())
            JanelasDoAgente::FechaTodasExceto(this);
    }
    void closeEvent(QCloseEvent* event) override
    {
        hide();
        event->ignore();
    }
};

// The test's record of its quota window, as the main window keeps one.
QPointer<TFrmCota> cota;

TFrmCota* openWindow()
{
    return TFrmCota::Aberta(cota);
}

QString text(const char* label)
{
    return openWindow()->findChild<QLabel*>(label)->text();
}

bool shown(const char* label)
{
    return openWindow()->findChild<QLabel*>(label)->isVisibleTo(openWindow());
}

void processDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class tst_TFrmCota : public QObject {
    Q_OBJECT

    std::unique_ptr<ScratchFolder> folder;
    std::unique_ptr<ScriptedMessageBoxes> boxes;
    std::unique_ptr<TContext> context;
    std::unique_ptr<JanelaPrincipal> main;

    // jsilva (5) in group 1, 63 pages printed this month; the policy and the quota account as asked.
    void install(const QVariant& unlimited, bool account, int remaining = 37)
    {
        TestRows::user(5, "jsilva", 1);
        if (unlimited.isValid())
            TestRows::policy(1, 1, unlimited, 100);
        if (account)
            TestRows::account(5, 1, remaining);
        TestRows::job(5, 1, 60, "curdate()");
        TestRows::job(5, 1, 3, "curdate()");
    }

    void refresh()
    {
        context->AtualizaDocumentosImpressos();
        context->AtualizaImpressoesRestantes();
    }

    void open()
    {
        TFrmCota::Abre(cota, TextosCota::Figuras::De(*context), main.get());
        QVERIFY(openWindow());
        QVERIFY(QTest::qWaitForWindowExposed(openWindow()));
    }

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
        folder->installPicture("ImgCota.jpg");
        TestDatabase::clearTables();
        LocalAddress::setForTesting("10.1.2.3");
        boxes = std::make_unique<ScriptedMessageBoxes>();
        main = std::make_unique<JanelaPrincipal>();
    }

    void cleanup()
    {
        delete cota;
        QVERIFY(!openWindow());
        main.reset();
        context.reset();
        boxes.reset();
        LocalAddress::resetForTesting();
        folder.reset();
    }

    // The figures as the context holds them reach the labels (the texts themselves: tst_TextosCota).
    void figures_data()
    {
        QTest::addColumn<QVariant>("unlimited"); // the group policy's quota_infinita; invalid: no policy
        QTest::addColumn<bool>("account");
        QTest::addColumn<int>("remaining");
        QTest::addColumn<QStringList>("texts"); // quota, printed, remaining, printed caption
        QTest::addColumn<bool>("remainingShown");

        QTest::newRow("limited") << QVariant(0) << true << 37
                                 << QStringList{"100", "63", "37", "Doc. Impressos:"} << true;
        QTest::newRow("unlimited") << QVariant(1) << true << 37
                                   << QStringList{"Infinita", "63", "37", "Doc. Impressos Mês:"} << false;
        QTest::newRow("no policy") << QVariant() << false << 0
                                   << QStringList{"N/A", "N/A", "N/A", "Doc. Impressos:"} << true;
    }
    void figures()
    {
        QFETCH(QVariant, unlimited);
        QFETCH(bool, account);
        QFETCH(int, remaining);
        QFETCH(QStringList, texts);
        QFETCH(bool, remainingShown);

        install(unlimited, account, remaining);
        context =
            std::make_unique<TContext>(TestDatabase::dataModule().dbCorvelLane, folder->path(), "jsilva");
        refresh();
        open();

        QCOMPARE(text("lblUsuario"), QStringLiteral("5 - jsilva"));
        QCOMPARE(
            (QStringList{text("lblQuota"), text("lblDocImpressos"), text("lblRestante"), text("lblTitDocs")}),
            texts);
        QCOMPARE(shown("lblRestante"), remainingShown);
        QCOMPARE(shown("lblTitRest"), remainingShown);
        for (const char* figure : {"lblQuota", "lblDocImpressos", "lblRestante"}) {
            const QLabel* label = openWindow()->findChild<QLabel*>(figure);
            QCOMPARE(label->geometry().right() + 1, 170);
        }
        QVERIFY(boxes->shown().isEmpty());
    }

    // Docked at the bottom right: the right edge 2 pixels from the screen's, the bottom 2 pixels above
    // the work area's; the main window hidden; the picture loaded.
    void placementAndTakingOver()
    {
        install(0, true);
        context =
            std::make_unique<TContext>(TestDatabase::dataModule().dbCorvelLane, folder->path(), "jsilva");
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        open();

        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(openWindow()->size(), QSize(188, 114));
        QCOMPARE(openWindow()->geometry().right(), screen.right() - 2);
        QCOMPARE(openWindow()->geometry().bottom(), workArea.bottom() - 2);
        QVERIFY(!main->isVisible());
        QVERIFY(openWindow()->windowFlags().testFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                                      Qt::Tool));
        QVERIFY(!openWindow()->findChild<QLabel*>("imgCota")->pixmap().isNull());
    }

    // "Consultar Cota" again: the same window, the same figures, and no more time than it had.
    void openingAgainNeitherRefillsNorRetimes()
    {
        install(0, true);
        context =
            std::make_unique<TContext>(TestDatabase::dataModule().dbCorvelLane, folder->path(), "jsilva");
        refresh();
        open();
        TFrmCota* window = openWindow();
        const QTimer* timer = window->findChild<QTimer*>("Timer");
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), TFrmCota::IntervaloTimer);

        TestDatabase::exec("update modp set quota = 5");
        refresh();
        QCOMPARE(context->ImpressoesRestantes(), 5);
        QTest::qWait(30);
        const int left = timer->remainingTime();
        TFrmCota::Abre(cota, TextosCota::Figuras::De(*context), main.get());

        QCOMPARE(openWindow(), window);
        QCOMPARE(text("lblRestante"), QStringLiteral("37"));
        QVERIFY2(timer->remainingTime() <= left, "the count started again");
    }

    // The "X", the timer and another window's show step all close the window, which slides out and is
    // freed; the next open makes a new one with fresh figures.
    void closing_data()
    {
        QTest::addColumn<QString>("by");
        QTest::newRow("X") << "X";
        QTest::newRow("timer") << "timer";
        QTest::newRow("main window shown") << "main";
    }
    void closing()
    {
        QFETCH(QString, by);
        install(0, true);
        context =
            std::make_unique<TContext>(TestDatabase::dataModule().dbCorvelLane, folder->path(), "jsilva");
        refresh();
        open();
        QPointer<TFrmCota> window = openWindow();

        if (by == "X")
            Q_EMIT window->findChild<TButton2D*>("Button2D1")->clicked();
        else if (by == "timer")
            window->TimerTimer();
        else
            main->show();

        QVERIFY(!openWindow());
        QVERIFY(window && !window->isVisible());
        QCOMPARE(window->height(), 0);
        processDeferredDeletes();
        QVERIFY(!window);
        if (by == "main")
            QVERIFY(main->isVisible());

        TestDatabase::exec("update modp set quota = 5");
        refresh();
        open();
        QCOMPARE(text("lblRestante"), QStringLiteral("5"));
    }

    void missingPictureIsReportedAndTheWindowOpens()
    {
        QFile::remove(folder->path() + "Imagens/ImgCota.jpg");
        install(0, true);
        context =
            std::make_unique<TContext>(TestDatabase::dataModule().dbCorvelLane, folder->path(), "jsilva");
        refresh();
        open();

        QCOMPARE(boxes->shown().size(), 1);
        QCOMPARE(boxes->shown().at(0).kind, MessageBoxes::Kind::ApplicationError);
        QVERIFY(boxes->shown().at(0).text.contains("ImgCota.jpg"));
        QVERIFY(openWindow()->isVisible());
        QCOMPARE(text("lblRestante"), QStringLiteral("37"));
    }
};

QTEST_MAIN(tst_TFrmCota)
#include "tst_TFrmCota.moc"
