#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringList>

// The bytes of the queue's snapshot, one message per line ended by CR LF, in the locale's encoding.
// The listener appends at the tail and the dispatcher removes at the head, so between two snapshots
// only the messages served and the ones that arrived change: those alone are dropped or encoded, not
// the whole queue for every message.
class ConteudoDaFila {
public:
    // Valid until the next call.
    QByteArrayView de(const QStringList& fila);

private:
    qsizetype servidasDesde(const QStringList& fila) const;
    bool continua(const QStringList& fila, qsizetype servidas) const;
    void descartaServidas(qsizetype servidas);
    void acrescenta(const QString& mensagem);
    void recomeca(const QStringList& fila);

    // The queue as last seen: the same strings, shared with it, so that sameness is one comparison.
    QStringList m_mensagens;
    QList<qsizetype> m_tamanhos; // the bytes of each line
    QByteArray m_bytes;
    qsizetype m_inicio = 0; // the lines before it belong to messages already served
};
