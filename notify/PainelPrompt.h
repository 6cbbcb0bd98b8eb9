#pragma once

#include <QFrame>
#include <QList>
#include <functional>

class BlocoImpressao;
struct DecisaoDaMensagem;
class JanelaDeNotificacoes;
class QVariant;
class TButton2D;

// What the three prompts share: the panel itself, its bold title, the "Enviar" button, Enter in the
// input fields sending the answer, and the update of the job's row.
class PainelPrompt : public QFrame {
    Q_OBJECT

public:
    PainelPrompt(JanelaDeNotificacoes& janela, const char* nome, int altura, QWidget* parent);

    // Fills the prompt with the job the notification names.
    virtual void Preenche(const DecisaoDaMensagem& decisao);

    BlocoImpressao* impressao = nullptr;

protected:
    void titulo(const QString& texto, int esquerda, int topo, int largura);
    TButton2D* botaoEnviar(const char* nome, const QRect& geometria, std::function<void()> resposta);
    // Enter in any of these fields runs the answer; the key then goes on to the field unchanged.
    void enviaComEnter(const QList<QWidget*>& campos);
    // Writes the answer into the job's row: text with ":p1".. markers, values in their order.
    static void AtribuiAImpressao(const QString& sql, const QList<QVariant>& valores);

    bool eventFilter(QObject* objeto, QEvent* evento) override;

    JanelaDeNotificacoes& m_janela;

private:
    std::function<void()> m_resposta;
};
