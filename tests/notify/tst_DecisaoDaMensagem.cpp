#include "DecisaoDaMensagem.h"

#include <QTest>

using Acao = DecisaoDaMensagem::Acao;
Q_DECLARE_METATYPE(DecisaoDaMensagem::Acao)

class tst_DecisaoDaMensagem : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decide_data()
    {
        QTest::addColumn<QString>("mensagem");
        QTest::addColumn<Acao>("acao");
        QTest::addColumn<int>("tipo");
        // The fields are checked only when the message is acted on.
        QTest::addColumn<QString>("campo1");
        QTest::addColumn<QString>("campo2");
        QTest::addColumn<int>("numero1");
        QTest::addColumn<int>("numero2");
        QTest::addColumn<QString>("texto");

        const auto linha = [](const char* nome, const QString& mensagem, Acao acao, int tipo,
                              const QString& campo1 = {}, const QString& campo2 = {}, int numero1 = 0,
                              int numero2 = 0, const QString& texto = {}) {
            QTest::newRow(nome) << mensagem << acao << tipo << campo1 << campo2 << numero1 << numero2
                                << texto;
        };
        linha("cost centre", "1;815;3;Contrato.doc", Acao::PerguntaCentroCusto, 1, "815", "3", 815, 3,
              "Contrato.doc");
        linha("';' in the document name", "2;816;1;a;b;;c.doc;", Acao::PerguntaCentroCustoObs, 2, "816", "1",
              816, 1, "a;b;;c.doc;");
        linha("two messages in one read", "4;1;2;a.doc1;3;4;b.doc", Acao::PerguntaObservacao, 4, "1", "2", 1,
              2, "a.doc1;3;4;b.doc");
        linha("empty document name", "1;815;3;", Acao::PerguntaCentroCusto, 1, "815", "3", 815, 3, "");
        linha("negative job as sent", "1;-5;+3;doc", Acao::PerguntaCentroCusto, 1, "-5", "+3", -5, 3, "doc");
        linha("32-bit limits", "4;-2147483648;2147483647;d", Acao::PerguntaObservacao, 4, "-2147483648",
              "2147483647", -2147483647 - 1, 2147483647, "d");
        linha("quota: pages remaining up to the next ';'", "0;400;363;37;x", Acao::MostraCota, 0, "400",
              "363", 400, 363, "37");
        linha("quota: pages remaining not validated", "0;400;363;muitas;", Acao::MostraCota, 0, "400", "363",
              400, 363, "muitas");
        // A field is the text before its ';': without one, pages remaining are empty, and a number field
        // is empty, which is not a number.
        linha("quota: no ';' after pages remaining", "0;400;12;388", Acao::MostraCota, 0, "400", "12", 400,
              12, "");
        for (const char* semPaginas : {"1;815;3", "2;815;3", "4;815;3", "0;400;12"})
            linha(semPaginas, QString::fromLatin1(semPaginas), Acao::Invalida, semPaginas[0] - '0');
        // A number is an optionally signed run of digits and nothing more.
        linha("blank before a number", "1; 815;3;doc", Acao::Invalida, 1);
        linha("tab after a number", "1;815;3\t;doc", Acao::Invalida, 1);
        linha("line end after a number", "4;815\r\n;3;doc", Acao::Invalida, 4);
        linha("sign alone", "2;-;3;doc", Acao::Invalida, 2);
        linha("two signs", "2;+-1;3;doc", Acao::Invalida, 2);
        linha("blank before the kind", " 1;815;3;doc", Acao::Invalida, -1);
        linha("line end after the kind", "1\n;815;3;doc", Acao::Invalida, -1);
        linha("job just beyond 32 bits", "4;2147483648;3;doc", Acao::Invalida, 4);
        linha("notice keeps its ';'", "10;a; b;", Acao::MostraAviso, 10, {}, {}, 0, 0, "a; b;");
        linha("register: the rest is ignored", "3;abcde", Acao::RegistraEstacao, 3);
        linha("kind not handled", "7;qualquer", Acao::Ignora, 7);
        linha("pages not a number", QString::fromUtf8("1;815;três;doc"), Acao::Invalida, 1);
        linha("job not a number", "2;x;3;doc", Acao::Invalida, 2);
        linha("job beyond 32 bits", "4;4294967297;3;doc", Acao::Invalida, 4);
        linha("quota missing", "0;;1;2;", Acao::Invalida, 0);
        linha("no kind", "semponto", Acao::Invalida, -1);
        linha("kind not a number", "x;1;2;doc", Acao::Invalida, -1);
    }

    void decide()
    {
        QFETCH(QString, mensagem);
        const DecisaoDaMensagem decisao = DecisaoDaMensagem::Decide(mensagem);
        QTEST(decisao.acao, "acao");
        QTEST(decisao.tipo, "tipo");
        if (decisao.acao == Acao::Invalida)
            return;
        QTEST(decisao.campo1, "campo1");
        QTEST(decisao.campo2, "campo2");
        QTEST(decisao.numero1, "numero1");
        QTEST(decisao.numero2, "numero2");
        QTEST(decisao.texto, "texto");
    }
};

QTEST_GUILESS_MAIN(tst_DecisaoDaMensagem)
#include "tst_DecisaoDaMensagem.moc"
