#include "PainelRelatorio.h"

#include "AppError.h"
#include "CampoData.h"
#include "Clock.h"
#include "EventGuard.h"
#include "Fonts.h"
#include "FormControls.h"
#include "MessageBoxes.h"
#include "PlainLabel.h"
#include "TButton2D.h"
#include "TContext.h"
#include "TFrmRelImpPeriodo.h"
#include "TUtil.h"

PainelRelatorio::PainelRelatorio(OdbcConnection& conexao, std::function<const TContext*()> contexto,
                                 QWidget* parent)
    : QFrame(parent), m_conexao(conexao), m_contexto(std::move(contexto))
{
    setObjectName(QStringLiteral("pnlImpressao"));
    resize(Largura, Altura);
    setFixedHeight(Altura); // the main window stacks its panels at their own heights
    setFont(Fonts::msSansSerif(11));
    QPalette cores = palette();
    cores.setColor(QPalette::Window, Fonts::panel);
    cores.setColor(QPalette::WindowText, Fonts::navy);
    setPalette(cores);
    setAutoFillBackground(true);

    auto* Label3 = new PlainLabel(QStringLiteral("Relatório por usuário em um intervalo de datas."), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(32, 10, 163, 26);
    Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label3->setWordWrap(true);
    Label3->setFont(Fonts::msSansSerif(11, true));

    QLabel* Label2 = FormControls::label(this, "Label2", QStringLiteral("De"), {11, 54});
    edtDataIni = new CampoData(this);
    edtDataIni->setObjectName(QStringLiteral("edtDataIni"));
    edtDataIni->setGeometry(33, 51, 85, 21);
    QLabel* Label1 = FormControls::label(this, "Label1", QStringLiteral("a"), {126, 54});
    edtDataFim = new CampoData(this);
    edtDataFim->setObjectName(QStringLiteral("edtDataFim"));
    edtDataFim->setGeometry(142, 51, 85, 21);
    Label2->setBuddy(edtDataIni);
    Label1->setBuddy(edtDataFim);
    // The main window's creation sets both to today; afterwards they keep what the user types.
    edtDataIni->setDate(Clock::now().date());
    edtDataFim->setDate(Clock::now().date());

    FormControls::rule(this, "Bevel4", QRect(2, 94, 245, 2));
    Button2D3 = FormControls::button(this, "Button2D3", QStringLiteral("Visualizar"), QRect(176, 101, 68, 20),
                                     QStringLiteral("Visualizar Relatório"));
    connect(Button2D3, &TButton2D::clicked, this, [this] { guarded([this] { Button2D3Click(); }); });
}

void PainelRelatorio::Button2D3Click()
{
    const auto data = [](CampoData* campo, const QString& erro) {
        const std::optional<QDate> lida = campo->date();
        if (!lida) {
            campo->setFocus();
            throw AppError(erro);
        }
        return *lida;
    };
    const QDate dataIni = data(edtDataIni, QStringLiteral("Data Inicial Inválida"));
    const QDate dataFim = data(edtDataFim, QStringLiteral("Data Final Inválida"));
    TUtil::GravaLog(QStringLiteral("Converteu as datas"));

    const TContext* contexto = m_contexto();
    if (!contexto)
        throw AppError(QStringLiteral("Nenhum usuário identificado"));
    QList<ReportRow> linhas = ReportRow::ofPeriod(m_conexao, contexto->CodUsuario(), dataIni, dataFim);
    if (linhas.isEmpty()) {
        MessageBoxes::information(QStringLiteral("Não há impressões no intervalo informado"));
        return;
    }
    TUtil::GravaLog(QStringLiteral("testou se o relatorio esta vazio"));

    auto* formulario = new TFrmRelImpPeriodo(std::move(linhas), window());
    formulario->RichEdit1 = {{QStringLiteral("Impressões efetuadas pelo usuário "), false},
                             {contexto->Login(), true},
                             {QStringLiteral(" no intervalo entre "), false},
                             {edtDataIni->text(), true},
                             {QStringLiteral(" e "), false},
                             {edtDataFim->text(), true},
                             {QStringLiteral("."), false}};
    connect(formulario->Visualiza(), &QObject::destroyed, this, &PainelRelatorio::PreviaFechada);
}
