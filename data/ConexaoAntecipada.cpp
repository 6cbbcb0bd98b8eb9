#include "ConexaoAntecipada.h"

#include <future>

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

} // namespace

namespace ConexaoAntecipada {

void inicia(const QString& cadeia)
{
    if (iniciada().conexao.valid())
        solta(std::move(iniciada().conexao));
    iniciada().cadeia = cadeia;
    iniciada().conexao =
        std::async(std::launch::async, [cadeia] { return OdbcConnection::connectTo(cadeia); });
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
