#pragma once

#include "TConexao.h"

#include <QDateTime>

// The agent's one record of who works at this workstation and what that user may still print.
// Construction identifies the account in the user table, resolves policy and quota, and records the
// user against the workstation's address in table instancia (how the server knows whom to notify).
// Every database access goes through TConexao's helpers on the connection it is given; errors leave
// the operations unchanged.
class TContext {
public:
    TContext(OdbcConnection& conexao, const QString& diretorio, const QString& conta);

    void IdentificaUsuario(const QString& nome);
    bool ValidaLogin(const QString& login, const QString& senhaCodificada);
    void AtualizaPolitica();
    bool RegistraInstancia();
    void AtualizaDocumentosImpressos();
    void AtualizaImpressoesRestantes();

    // 0: nobody identified; -1: the last login check failed; positive: a user.
    int CodUsuario() const { return m_codUsuario; }
    const QString& Login() const { return m_login; }
    int QuotaPadrao() const { return m_quotaPadrao; }
    int ImpressoesRestantes() const { return m_impressoesRestantes; }
    int DocumentosImpressos() const { return m_documentosImpressos; }
    bool QuotaInfinita() const { return m_quotaInfinita; }
    bool SemPolitica() const { return m_semPolitica; }
    const QString& TipoPolitica() const { return m_tipoPolitica; }
    const QString& MesAtual() const { return m_mesAtual; }
    const QString& IP() const { return m_ip; }
    const QDateTime& UltimaAtualizacao() const { return m_ultimaAtualizacao; }

private:
    TConexao m_conexao;
    int m_codUsuario = 0;
    QString m_login;
    int m_quotaPadrao = 0;
    int m_impressoesRestantes = 0;
    int m_documentosImpressos = 0;
    bool m_quotaInfinita = false;
    bool m_semPolitica = false;
    QString m_tipoPolitica;
    QString m_mesAtual;
    QString m_ip;
    QString m_diretorio;
    QDateTime m_ultimaAtualizacao;
};
