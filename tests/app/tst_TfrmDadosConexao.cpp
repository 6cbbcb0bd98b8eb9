#include "DataSourceStore.h"
#include "MessageBoxes.h"
#include "OdbcInstallerLibrary.h"
#include "PrivateOdbcConfiguration.h"
#include "ScratchFolder.h"
#include "TdtmMain.h"
#include "TfrmDadosConexao.h"

#include <QApplication>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

// First start on a workstation without the data source, against a driver-manager configuration of the
// test's own. The address typed carries no port, as on a workstation: the test server listens on
// 127.0.0.2 at MariaDB's own port, and 127.0.0.9 has no server.
namespace {

const QString falhaConexao = QStringLiteral("Atenção. O sistema não conseguiu conectar ao servidor do "
                                            "CorvelLane. Verifique com o administrador do sistema.");
const QString falhaDsn = QStringLiteral("Falha ao tentar criar o DSN (Data source).");
const QString erroInstalador = QStringLiteral("Ocorreu o seguinte erro ao tentar criar o ODBC CorvelLane: ");

QByteArray fixtureDriverRegistration()
{
    QFile file(qEnvironmentVariable("ODBCSYSINI") + QStringLiteral("/odbcinst.ini"));
    if (!file.open(QIODevice::ReadOnly) || !file.peek(4096).contains("Setup="))
        qFatal("the testdb fixture's odbcinst.ini with Setup= is missing");
    return file.readAll();
}

// What a step saw while the dialog was open: the checks run after the data module is built.
struct Observed {
    bool dialogOpen = false;
    QString text;
    bool cursorRestored = false;
    bool dataSourceExists = false;
    QStringList boxes;
    QStringList captions;
    QStringList log;
};

// The first-run dialog, while it is on screen.
TfrmDadosConexao* openDialog()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<TfrmDadosConexao*>(widget); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

} // namespace

class tst_TfrmDadosConexao : public QObject {
    Q_OBJECT

    const QByteArray driverRegistration = fixtureDriverRegistration();
    PrivateOdbcConfiguration odbc;
    ScratchFolder* folder = nullptr;
    ScriptedMessageBoxes* boxes = nullptr;
    std::unique_ptr<TdtmMain> module;

    // A start of the program on this workstation, up to its data module's connection.
    void start()
    {
        module = std::make_unique<TdtmMain>();
        module->Abre(&TfrmDadosConexao::PedeServidor);
    }

    // Runs each step on the dialog, one after the other, once the data module has shown it.
    void whenTheDialogShows(QList<std::function<void(TfrmDadosConexao&)>> steps)
    {
        QTimer::singleShot(0, this, [this, steps] {
            if (!openDialog()) {
                whenTheDialogShows(steps);
                return;
            }
            for (const auto& step : steps) {
                if (TfrmDadosConexao* dialog = openDialog())
                    step(*dialog);
            }
            // A dialog the steps did not close would hold the test forever; the checks tell.
            if (TfrmDadosConexao* dialog = openDialog())
                dialog->close();
        });
    }

    std::function<void(TfrmDadosConexao&)> confirm(const QString& address, Observed* seen = nullptr)
    {
        return [this, address, seen](TfrmDadosConexao& dialog) {
            dialog.Edit1->selectAll();
            QTest::keyClicks(dialog.Edit1, address);
            QTest::mouseClick(dialog.Button1, Qt::LeftButton);
            if (!seen)
                return;
            seen->dialogOpen = openDialog() != nullptr;
            seen->text = seen->dialogOpen ? openDialog()->Edit1->text() : QString();
            seen->cursorRestored = QApplication::overrideCursor() == nullptr;
            seen->dataSourceExists = DataSourceStore::systemDataSourceExists("CorvelLane");
            seen->boxes = boxes->texts();
            for (const auto& box : boxes->shown())
                seen->captions.append(box.caption);
            seen->log = folder->logMessages();
            boxes->clear();
        };
    }

    static std::function<void(TfrmDadosConexao&)> closeBox()
    {
        return [](TfrmDadosConexao& dialog) { dialog.close(); };
    }

private Q_SLOTS:
    void initTestCase() { odbc.setOdbcInst(driverRegistration); }

    void init()
    {
        odbc.setOdbcIni({});
        folder = new ScratchFolder;
        boxes = new ScriptedMessageBoxes;
    }

    void cleanup()
    {
        module.reset();
        delete boxes;
        delete folder;
        OdbcInstallerLibrary::setFileNameForTesting({});
        odbc.setOdbcInst(driverRegistration);
    }

    // What the user sees: the texts, each whole and inside the window; the heading centred over the
    // "Servidor:" line, the label before its empty field, the two buttons under the field and ending
    // with it, "Cancelar" last; no two of them overlapping; Alt with the underlined letter for each button.
    void looksAndBehavesAsGiven()
    {
        TdtmMain unopened;
        TfrmDadosConexao dialog(unopened);
        QCOMPARE(dialog.windowTitle(), QString::fromUtf8("Dados da Conexão"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(openDialog(), &dialog);
        QVERIFY(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(dialog.windowFlags() & Qt::WindowMaximizeButtonHint));

        const QList<std::pair<QWidget*, QString>> texts{
            {dialog.Label2, QString::fromUtf8("Informe o endereço IP do servidor Corvellane")},
            {dialog.Label1, "Servidor:"},
            {dialog.Button1, "Confirma"},
            {dialog.Button2, "Cancelar"}};
        QList<QRect> places;
        for (const auto& [widget, text] : texts) {
            const auto* label = qobject_cast<QLabel*>(widget);
            const QString shown = label ? label->text() : qobject_cast<QPushButton*>(widget)->text();
            QCOMPARE(QString(shown).remove('&'), text);
            const QRect place(widget->mapTo(&dialog, QPoint(0, 0)), widget->size());
            QVERIFY2(dialog.rect().contains(place), qPrintable(text));
            QVERIFY2(widget->fontMetrics().horizontalAdvance(text) <= place.width(), qPrintable(text));
            for (const QRect& other : places)
                QVERIFY2(!other.intersects(place), qPrintable(text));
            places.append(place);
        }
        const QRect heading = places.at(0), label = places.at(1), confirm = places.at(2),
                    cancel = places.at(3);
        const QRect field(dialog.Edit1->mapTo(&dialog, QPoint(0, 0)), dialog.Edit1->size());
        QVERIFY(dialog.rect().contains(field));
        QCOMPARE(dialog.Edit1->text(), QString());
        QVERIFY(dialog.Label2->font().bold());
        QVERIFY(std::abs(heading.center().x() - (label.left() + field.right()) / 2) <= 3);
        QVERIFY(heading.bottom() < field.top());
        QVERIFY(label.right() < field.left());
        QVERIFY(std::abs(label.center().y() - field.center().y()) <= 3);
        QVERIFY(confirm.top() > field.bottom() && cancel.top() == confirm.top());
        QVERIFY(confirm.right() < cancel.left());
        QVERIFY(std::abs(cancel.right() - field.right()) <= 2);
        QCOMPARE(QKeySequence::mnemonic(dialog.Button1->text()), QKeySequence(Qt::ALT | Qt::Key_C));
        QCOMPARE(QKeySequence::mnemonic(dialog.Button2->text()), QKeySequence(Qt::ALT | Qt::Key_A));

        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(QApplication::focusWidget(), dialog.Edit1);
        QCOMPARE(dialog.Panel1->geometry(), dialog.rect());
        // Neither button is a default or cancel button.
        QTest::keyClicks(dialog.Edit1, "10.0.0.1");
        QTest::keyClick(dialog.Edit1, Qt::Key_Return);
        QTest::keyClick(dialog.Edit1, Qt::Key_Enter);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QVERIFY(boxes->shown().isEmpty());
        QCOMPARE(dialog.Edit1->text(), QStringLiteral("10.0.0.1"));

        dialog.close();
        QCOMPARE(openDialog(), nullptr);
    }

    void attributeListCarriesTheAddressAsTyped_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("address") << "192.168.0.10";
        QTest::newRow("empty") << "";
        QTest::newRow("blank-padded") << "  192.168.0.10 ";
        QTest::newRow("host name") << "servidor-impressao";
    }

    void attributeListCarriesTheAddressAsTyped()
    {
        QFETCH(QString, address);
        static const char head[] = "DSN=CorvelLane\0Database=CORVELLANE\0UId=corvellane\0PWD=mabel7\0Server=";
        static const char tail[] = "\0Exclusive=1\0Description=MySQL ODBC 5.1 Driver\0";
        // sizeof keeps the NULs inside the literals; the tail's own terminator is the list's last NUL.
        const QByteArray expected =
            QByteArray(head, sizeof head - 1) + address.toLatin1() + QByteArray(tail, sizeof tail);
        QCOMPARE(FonteDeDados().ListaDeAtributos(address), expected);
    }

    void rightAddressCreatesTheDataSourceAndConnects()
    {
        whenTheDialogShows({confirm("127.0.0.2")});
        start();
        QVERIFY(module->dbCorvelLane.isConnected());
        QCOMPARE(module->Servidor, QStringLiteral("127.0.0.2"));
        QCOMPARE(openDialog(), nullptr);
        QVERIFY(boxes->shown().isEmpty());
        QVERIFY(folder->logBytes().isEmpty());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(odbc.section("CorvelLane"),
                 (QStringList{"Driver=MySQL ODBC 5.1 Driver", "Database=CORVELLANE", "UId=corvellane",
                              "PWD=mabel7", "Server=127.0.0.2", "Exclusive=1",
                              "Description=MySQL ODBC 5.1 Driver"}));
        module.reset();

        // The next start finds the data source and asks nothing.
        start();
        QVERIFY(module->dbCorvelLane.isConnected());
        QCOMPARE(module->Servidor, QString());
        QVERIFY(boxes->shown().isEmpty());
    }

    void wrongAddressRemovesTheDataSourceAndKeepsTheDialog()
    {
        Observed first;
        whenTheDialogShows({confirm("127.0.0.9", &first), confirm("127.0.0.2")});
        start();

        QVERIFY(first.dialogOpen);
        QCOMPARE(first.text, QStringLiteral("127.0.0.9"));
        QCOMPARE(first.boxes, QStringList{falhaConexao});
        QCOMPARE(first.log, QStringList{falhaConexao});
        QVERIFY(!first.dataSourceExists);
        QVERIFY(first.cursorRestored);

        // The second try created the data source anew and connected.
        QVERIFY(module->dbCorvelLane.isConnected());
        QCOMPARE(openDialog(), nullptr);
        QVERIFY(odbc.section("CorvelLane").contains("Server=127.0.0.2"));
        QVERIFY(boxes->shown().isEmpty());
        QCOMPARE(folder->logMessages(), QStringList{falhaConexao});
    }

    void installerThatFailsIsReportedAndTheConnectionStillTried()
    {
        QByteArray withoutSetup;
        for (const QByteArray& line : driverRegistration.split('\n')) {
            if (!line.startsWith("Setup="))
                withoutSetup += line + '\n';
        }
        odbc.setOdbcInst(withoutSetup);
        Observed seen;
        whenTheDialogShows({confirm("127.0.0.2", &seen), closeBox()});
        start();

        QVERIFY(seen.dialogOpen);
        QCOMPARE(seen.boxes, (QStringList{falhaDsn, falhaConexao}));
        QCOMPARE(seen.log, QStringList{falhaConexao});
        QVERIFY(seen.cursorRestored);
        QCOMPARE(seen.text, QStringLiteral("127.0.0.2"));
        QCOMPARE(seen.captions, (QStringList{"CorvelLane", "Error"}));
        QVERIFY(!module->dbCorvelLane.isConnected());
        QCOMPARE(openDialog(), nullptr);
    }

    void closingTheDialogLeadsToOneFailedConnection()
    {
        whenTheDialogShows({closeBox()});
        start();
        QVERIFY(!module->dbCorvelLane.isConnected());
        QCOMPARE(boxes->texts(), QStringList{falhaConexao});
        QCOMPARE(boxes->shown().first().caption, QStringLiteral("Error"));
        QCOMPARE(folder->logMessages(), QStringList{falhaConexao});
        QVERIFY(odbc.odbcIni().trimmed().isEmpty());
    }

    void missingInstallerIsReportedWithItsReason_data()
    {
        QTest::addColumn<QString>("library");
        QTest::newRow("library missing") << "libcorvellane-no-such-installer.so.2";
        // A library that loads but has no SQLConfigDataSource.
        QTest::newRow("entry point missing") << "libm.so.6";
    }

    void missingInstallerIsReportedWithItsReason()
    {
        QFETCH(QString, library);
        OdbcInstallerLibrary::setFileNameForTesting(library);
        Observed seen;
        whenTheDialogShows({confirm("127.0.0.2", &seen), closeBox()});
        start();

        QVERIFY(seen.dialogOpen);
        QCOMPARE(seen.boxes.size(), 1);
        QVERIFY2(seen.boxes.first().startsWith(erroInstalador), qPrintable(seen.boxes.first()));
        QVERIFY(seen.boxes.first().size() > erroInstalador.size());
        QCOMPARE(seen.captions, QStringList{"CorvelLane"});
        QVERIFY(seen.log.isEmpty()); // no connection was tried
        QVERIFY(seen.cursorRestored);
        QVERIFY(!seen.dataSourceExists);
    }
};

QTEST_MAIN(tst_TfrmDadosConexao)
#include "tst_TfrmDadosConexao.moc"
