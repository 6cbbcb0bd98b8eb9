#include "CodificaSenha.h"
#include "ConnectionString.h"
#include "FormatoMensagem.h"
#include "MessageBoxes.h"
#include "Windows1252.h"

#include <QFile>
#include <QTest>

#if defined(QT_WIDGETS_LIB) || defined(QT_GUI_LIB)
#error "a core library hands Qt Gui or Qt Widgets on to whoever links it"
#endif

namespace {

// The boxes a stand-in screen was asked for, and whether it was told to close them.
QStringList shownOnScreen;
bool screenDismissed = false;

} // namespace

class tst_CoreWithoutWidgets : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void noQtWidgetsInTheProcess()
    {
        QFile maps(QStringLiteral("/proc/self/maps"));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QByteArray mapped = maps.readAll();
        QVERIFY(mapped.contains("libQt6Core"));
        QVERIFY(!mapped.contains("libQt6Widgets"));
    }

    // Something of each core library, so that the check above runs over code that is really linked.
    void eachCoreLibraryWorks()
    {
        QCOMPARE(Windows1252::encode(QStringLiteral("ação €")), QByteArray("a\xE7\xE3o \x80"));
        QCOMPARE(
            ConnectionString::toOdbc(QStringLiteral("Provider=MSDASQL.1;Password=mabel7;Persist Security "
                                                    "Info=True;User ID=corvellane;Data Source=CorvelLane")),
            QStringLiteral("PWD=mabel7;UID=corvellane;DSN=CorvelLane"));
        QCOMPARE(GrupoHexadecimal(172), QStringLiteral("AC"));
        QVERIFY(FormatoMensagem::Aceita(QStringLiteral("1;815;3;Contrato.doc")));
        QCOMPARE(FormatoMensagem::Tipo(QStringLiteral("1;815;3;Contrato.doc")), 1);
    }

    // The core decides which box to show; only a screen that the widgets layer put in place shows it.
    void boxesReachOnlyTheScreenPutInPlace()
    {
        QVERIFY(!MessageBoxes::confirm(QStringLiteral("Sem tela")));

        MessageBoxes::setScreen({[](MessageBoxes::Kind kind, const QString& text) {
                                     shownOnScreen.append(MessageBoxes::captionOf(kind) + QLatin1Char('|') +
                                                          text);
                                     return true;
                                 },
                                 [] { screenDismissed = true; }});
        QVERIFY(MessageBoxes::confirm(QStringLiteral("Confirma?")));
        MessageBoxes::applicationError(QStringLiteral("Falhou"));
        QCOMPARE(shownOnScreen, (QStringList{"Confirm|Confirma?", "CorvelLane|Falhou."}));

        {
            ScriptedMessageBoxes scripted;
            scripted.answerNext(false);
            QVERIFY(!MessageBoxes::confirm(QStringLiteral("Roteirizada")));
            QCOMPARE(scripted.texts(), QStringList{"Roteirizada"});
        }
        QCOMPARE(shownOnScreen.size(), 2);

        MessageBoxes::dismissAll();
        QVERIFY(screenDismissed);
        QVERIFY(!MessageBoxes::confirm(QStringLiteral("Depois do fim")));
        QCOMPARE(shownOnScreen.size(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_CoreWithoutWidgets)
#include "tst_CoreWithoutWidgets.moc"
