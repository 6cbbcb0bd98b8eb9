#include "ConteudoDaFila.h"

#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTest>

namespace {

QByteArray Esperado(const QStringList& fila)
{
    QByteArray bytes;
    for (const QString& mensagem : fila)
        bytes += QStringEncoder(QStringEncoder::System).encode(mensagem) + "\r\n";
    return bytes;
}

} // namespace

// The snapshot's bytes kept in step with the queue must always equal encoding the whole queue afresh,
// whatever happened to it in between.
class tst_ConteudoDaFila : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void followsEveryChangeOfTheQueue()
    {
        ConteudoDaFila conteudo;
        QStringList fila;
        QString servida;
        QRandomGenerator aleatorio(20261210);
        for (int passo = 0; passo < 20000; ++passo) {
            const int mudancas = aleatorio.bounded(3); // several changes between two snapshots, or none
            for (int m = 0; m < mudancas; ++m) {
                switch (aleatorio.bounded(10)) {
                case 0: // the same string twice in a row, as a test or a caller may queue it
                    if (!fila.isEmpty())
                        fila.append(fila.last());
                    break;
                case 1:
                    fila.clear();
                    break;
                case 2: // changed in place: no longer the string seen before
                    if (!fila.isEmpty())
                        fila[aleatorio.bounded(int(fila.size()))] += QStringLiteral("ç");
                    break;
                case 3: // the served head given back: at the head again
                    if (!servida.isEmpty())
                        fila.prepend(servida);
                    break;
                case 4:
                case 5:
                    if (!fila.isEmpty())
                        servida = fila.takeFirst();
                    break;
                default:
                    fila.append(QStringLiteral("1;%1;3;Relatório %1.doc").arg(passo));
                }
            }
            QCOMPARE(conteudo.De(fila).toByteArray(), Esperado(fila));
        }
    }
};

QTEST_GUILESS_MAIN(tst_ConteudoDaFila)
#include "tst_ConteudoDaFila.moc"
