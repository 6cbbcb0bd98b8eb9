#pragma once

#include <QFrame>
#include <functional>

class CampoData;
class OdbcConnection;
class TButton2D;
class TContext;

// The main window's report panel: the two dates and "Visualizar", which lists the user's print jobs
// between them in a report preview. Every run opens a preview of its own, and the agent keeps working
// while previews are open.
class PainelRelatorio : public QFrame {
    Q_OBJECT

public:
    static constexpr int Largura = 250;
    static constexpr int Altura = 125;

    // The report reads the jobs on that connection. The context is asked for at every run: the user may
    // have changed since the panel was built.
    PainelRelatorio(OdbcConnection& conexao, std::function<const TContext*()> contexto,
                    QWidget* parent = nullptr);

    CampoData* edtDataIni;
    CampoData* edtDataFim;
    TButton2D* Button2D3;

    // The run behind "Visualizar". Errors leave it as exceptions; the button's handler reports them.
    void Button2D3Click();

Q_SIGNALS:
    // The preview of a run went.
    void PreviaFechada();

private:
    OdbcConnection& m_conexao;
    std::function<const TContext*()> m_contexto;
};
