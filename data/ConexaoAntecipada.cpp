#include "ConexaoAntecipada.h"

#include <QScopeGuard>
#include <future>
#include <locale.h>

namespace {

struct Iniciada {
    QString cadeia;
    std::future<OdbcConnection::Handles> conexao;
};

Iniciada& iniciada()
{
    static Iniciada unica;
    return unica;
}

// Made or not, a connection nobody takes is closed.
void solta(std::future<OdbcConnection::Handles> conexao)
{
    try {
        OdbcConnection sobra;
        sobra.adopt(conexao.get());
    } catch (...) {
    }
}

// The driver manager probes the driver for optional entry points, and the C library words each miss
// in the user's language, loading its message catalogue (about 300 kB) for texts nobody reads. The
// connecting thread works in the "C" locale instead; the driver's own messages are never translated.
OdbcConnection::Handles conectaNoLocaleC(const QString& cadeia)
{
    const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const locale_t anterior = c ? uselocale(c) : locale_t(nullptr);
    const auto restaura = qScopeGuard([c, anterior] {
        if (c) {
            uselocale(anterior);
            freelocale(c);
        }
    });
    return OdbcConnection::connectTo(cadeia);
}

} // namespace

namespace ConexaoAntecipada {

void inicia(const QString& cadeia)
{
    if (iniciada().conexao.valid())
        solta(std::move(iniciada().conexao));
    iniciada().cadeia = cadeia;
    iniciada().conexao = std::async(std::launch::async, [cadeia] { return conectaNoLocaleC(cadeia); });
}

void aguarda()
{
    if (iniciada().conexao.valid())
        iniciada().conexao.wait();
}

std::optional<OdbcConnection::Handles> toma(const QString& cadeia)
{
    if (!iniciada().conexao.valid())
        return std::nullopt;
    std::future<OdbcConnection::Handles> conexao = std::move(iniciada().conexao);
    const bool mesma = iniciada().cadeia == cadeia;
    iniciada().cadeia.clear();
    if (!mesma) {
        solta(std::move(conexao));
        return std::nullopt;
    }
    return conexao.get();
}

} // namespace ConexaoAntecipada
