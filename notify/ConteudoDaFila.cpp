#include "ConteudoDaFila.h"

#include <QStringEncoder>

namespace {

bool Mesma(const QString& a, const QString& b)
{
    return a.constData() == b.constData() && a.size() == b.size();
}

} // namespace

QByteArrayView ConteudoDaFila::De(const QStringList& fila)
{
    const qsizetype servidas = ServidasDesde(fila);
    if (Continua(fila, servidas)) {
        DescartaServidas(servidas);
        for (qsizetype i = m_mensagens.size(); i < fila.size(); ++i)
            Acrescenta(fila.at(i));
    } else {
        Recomeca(fila);
    }
    return QByteArrayView(m_bytes).sliced(m_inicio);
}

qsizetype ConteudoDaFila::ServidasDesde(const QStringList& fila) const
{
    if (fila.isEmpty())
        return m_mensagens.size();
    qsizetype servidas = 0;
    while (servidas < m_mensagens.size() && !Mesma(m_mensagens.at(servidas), fila.first()))
        ++servidas;
    return servidas;
}

// Whether the queue is what was seen, less the messages served and plus the ones that arrived.
bool ConteudoDaFila::Continua(const QStringList& fila, qsizetype servidas) const
{
    const qsizetype ficaram = m_mensagens.size() - servidas;
    if (ficaram > fila.size())
        return false;
    for (qsizetype i = 0; i < ficaram; ++i) {
        if (!Mesma(m_mensagens.at(servidas + i), fila.at(i)))
            return false;
    }
    return true;
}

void ConteudoDaFila::DescartaServidas(qsizetype servidas)
{
    for (qsizetype i = 0; i < servidas; ++i)
        m_inicio += m_tamanhos.at(i);
    m_mensagens.remove(0, servidas);
    m_tamanhos.remove(0, servidas);
    // The bytes of served messages are given back once they are most of the buffer.
    if (m_inicio > m_bytes.size() / 2) {
        m_bytes.remove(0, m_inicio);
        m_inicio = 0;
    }
}

void ConteudoDaFila::Acrescenta(const QString& mensagem)
{
    const qsizetype antes = m_bytes.size();
    m_bytes += QStringEncoder(QStringEncoder::System).encode(mensagem);
    m_bytes += "\r\n";
    m_mensagens.append(mensagem);
    m_tamanhos.append(m_bytes.size() - antes);
}

void ConteudoDaFila::Recomeca(const QStringList& fila)
{
    m_mensagens.clear();
    m_tamanhos.clear();
    m_bytes.clear();
    m_inicio = 0;
    for (const QString& mensagem : fila)
        Acrescenta(mensagem);
}
