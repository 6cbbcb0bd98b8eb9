#pragma once

#include "NetworkAddress.h"

#include <QList>
#include <QString>
#include <QStringList>

// Who may send notifications, as the agent's settings file says: the "allowed-senders" entries are
// addresses and networks (a.b.c.d, a.b.c.d/n, IPv6 and IPv6/n), separated by blanks or commas, on as
// many such lines as wanted; '#' starts a comment. No entry at all leaves the port open to everyone.
// A file the agent cannot understand entirely (an unknown key, an entry that is neither an address
// nor a network, a network with host bits set) lets no one in: a misspelt line must never widen who
// may send.
class RemetentesPermitidos {
public:
    // Everyone: no list.
    RemetentesPermitidos() = default;

    static RemetentesPermitidos Interpreta(const QString& texto);
    // A missing file, or a link to one, is no list; a file that cannot be read lets no one in.
    static RemetentesPermitidos DoArquivo(const QString& caminho);

    bool Restringe() const { return m_restringe; }
    bool Permite(const NetworkAddress& endereco) const;
    // Why the file lets no one in, empty when it was understood.
    QString Erro() const { return m_erro; }
    // The addresses and networks as written.
    const QStringList& Entradas() const { return m_entradas; }
    // The file the list was read from, empty when it was not read from one.
    const QString& Arquivo() const { return m_arquivo; }

private:
    struct Rede {
        NetworkAddress endereco;
        int prefixo; // bits of the sixteen-byte form
    };

    static RemetentesPermitidos Invalida(const QString& erro);

    bool m_restringe = false;
    QList<Rede> m_redes;
    QStringList m_entradas;
    QString m_erro;
    QString m_arquivo;
};
