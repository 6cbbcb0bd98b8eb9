#pragma once

#include <QFrame>
#include <QList>
#include <functional>

class BlocoImpressao;
class QLabel;
struct DecisaoDaMensagem;
class RespostasDosPrompts;
class TButton2D;

// What the three prompts share: the panel itself, its bold title, the "Enviar" button, and Enter in the
// input fields sending the answer, which RespostasDosPrompts carries out.
class PainelPrompt : public QFrame {
    Q_OBJECT

public:
    PainelPrompt(RespostasDosPrompts& respostas, const char* nome, int altura, QWidget* parent);

    // Fills the prompt with the job the notification names.
    virtual void Preenche(const DecisaoDaMensagem& decisao);

    BlocoImpressao* impressao = nullptr;

protected:
    QLabel* Titulo(const QString& texto, int esquerda, int topo, int largura);
    TButton2D* BotaoEnviar(const char* nome, const QRect& geometria, std::function<void()> resposta);
    // Enter in any of these fields runs the answer; the key then goes on to the field unchanged.
    void EnviaComEnter(const QList<QWidget*>& campos);
    // Where the user types the answer: it takes the keyboard focus whenever the prompt comes on screen.
    void RespostaEm(QWidget* campo) { m_campoDaResposta = campo; }
    void showEvent(QShowEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

    RespostasDosPrompts& m_respostas;

private:
    std::function<void()> m_resposta;
    QWidget* m_campoDaResposta = nullptr;
};
