#include "SeletorCentroCusto.h"

#include "EventGuard.h"
#include "PlainLabel.h"
#include "RespostasDosPrompts.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>

SeletorCentroCusto::SeletorCentroCusto(QWidget* painel, const RespostasDosPrompts& respostas,
                                       const char* nomeCodigo, const char* nomeNome)
    : QObject(painel), m_respostas(respostas)
{
    auto* rotuloCodigo = new PlainLabel(QStringLiteral("Código"), painel);
    rotuloCodigo->move(5, 71);
    auto* rotuloNome = new PlainLabel(QStringLiteral("Nome"), painel);
    rotuloNome->move(93, 71);
    codigo = new QLineEdit(QStringLiteral("-1"), painel);
    codigo->setObjectName(QLatin1String(nomeCodigo));
    codigo->setGeometry(6, 84, 72, 21);
    nome = new QComboBox(painel);
    nome->setObjectName(QLatin1String(nomeNome));
    nome->setGeometry(93, 84, 145, 21);
    // A screen reader names each field by the label beside it.
    rotuloCodigo->setBuddy(codigo);
    rotuloNome->setBuddy(nome);
    codigo->installEventFilter(this);
    connect(nome, &QComboBox::activated, this, [this] { guarded([this] { NomeCloseUp(); }); });
}

bool SeletorCentroCusto::eventFilter(QObject* objeto, QEvent* evento)
{
    // Leaving the field means the focus went to another control of the window. The window losing
    // activation (a box opening, the user switching programs) or a pop-up menu is not leaving it: the
    // box that a bad code raises would otherwise raise a second one. Nor is the panel going off screen
    // (the tray menu's "Relatório" over the prompt): the user never left the field.
    if (objeto == codigo && evento->type() == QEvent::FocusOut && codigo->isVisible()) {
        const Qt::FocusReason motivo = static_cast<QFocusEvent*>(evento)->reason();
        if (motivo != Qt::ActiveWindowFocusReason && motivo != Qt::PopupFocusReason)
            guarded([this] { CodigoExit(); });
    }
    return QObject::eventFilter(objeto, evento);
}

void SeletorCentroCusto::AtualizaLista(const QList<CentroDeCusto>& lista)
{
    const QVariant escolhido = nome->currentData();
    nome->clear();
    for (const CentroDeCusto& centro : lista)
        nome->addItem(centro.nome, centro.codigo);
    nome->setCurrentIndex(escolhido.isValid() ? nome->findData(escolhido) : -1);
}

void SeletorCentroCusto::CodigoExit()
{
    if (const std::optional<int> achado = m_respostas.CodigoNaLista(codigo->text()))
        nome->setCurrentIndex(nome->findData(*achado));
}

void SeletorCentroCusto::NomeCloseUp()
{
    if (!nome->currentText().isEmpty())
        codigo->setText(nome->currentData().toString());
}
