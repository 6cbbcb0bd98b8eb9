#include "TContext.h"

#include "Clock.h"
#include "Consultas.h"
#include "LocalAddress.h"
#include "TConexao.h"
#include "TUtil.h"

namespace {

int Inteiro(TConexao& conexao, const QString& sql, const QList<QVariant>& valores, int padrao)
{
    return conexao.ConsultaValor(sql, valores, padrao).toInt();
}

// Before its first refresh the remaining pages count as refreshed at the start of the date-time type.
const QDateTime nuncaAtualizado(QDate(1899, 12, 30), QTime(0, 0));

} // namespace

TContext::TContext(OdbcConnection& conexao, const QString& diretorio, const QString& conta)
    : m_conexao(conexao), m_diretorio(diretorio), m_ultimaAtualizacao(nuncaAtualizado)
{
    m_ip = LocalAddress::firstIPv4().trimmed();
    if (m_ip.isEmpty())
        TUtil::GravaLog(m_diretorio,
                        QStringLiteral("Nenhum endereço IPv4 de rede encontrado nesta estação; o "
                                       "servidor de impressão não saberá quem a usa"));
    m_mesAtual = m_conexao.ConsultaValor(Consultas::DataDoServidor, {}, QString())
                     .toDateTime()
                     .toString(QStringLiteral("yyyy-MM"));
    IdentificaUsuario(conta);
    if (m_codUsuario != 0)
        AtualizaPolitica();
    RegistraInstancia();
}

void TContext::IdentificaUsuario(const QString& nome)
{
    m_login = nome;
    m_codUsuario = Inteiro(m_conexao, Consultas::UsuarioPorLogin, {nome}, 0);
    if (m_codUsuario == 0)
        TUtil::GravaLog(m_diretorio, QStringLiteral("Usuário ") + nome +
                                         QStringLiteral(" não encontrado na base de dados"));
}

bool TContext::ValidaLogin(const QString& login, const QString& senhaCodificada)
{
    m_codUsuario = Inteiro(m_conexao, Consultas::UsuarioPorLoginESenha, {login, senhaCodificada}, -1);
    if (m_codUsuario == -1)
        return false;
    IdentificaUsuario(login);
    // The flag describes the user now logged in, not an account without policy that came before.
    m_semPolitica = false;
    AtualizaPolitica();
    return true;
}

void TContext::AtualizaPolitica()
{
    const auto tipo = m_conexao.AbreConsulta(Consultas::TipoPolitica, {m_codUsuario});
    ResultSet& linhas = tipo->result();
    const QString dia = linhas.isEmpty() ? QString() : linhas.field(Consultas::ColunaDia).toString();
    const QString mes = linhas.isEmpty() ? QString() : linhas.field(Consultas::ColunaMes).toString();
    if (dia == QLatin1String("0") && mes == QLatin1String("0"))
        m_tipoPolitica = QStringLiteral(" Diária ");
    else if (dia == QLatin1String("1") && mes == QLatin1String("0"))
        m_tipoPolitica = QStringLiteral(" Mensal ");
    m_quotaPadrao = Inteiro(m_conexao, Consultas::QuotaPadrao, {m_codUsuario}, 0);
    RegistraInstancia();
    const int contas = Inteiro(m_conexao, Consultas::ContasDoUsuario, {m_codUsuario}, 0);
    const int politicas = Inteiro(m_conexao, Consultas::PoliticasDoGrupo, {m_codUsuario}, 0);
    m_quotaInfinita = false;
    if (contas + politicas == 0)
        m_semPolitica = true;
    else
        m_quotaInfinita = Inteiro(m_conexao, Consultas::QuotaInfinita, {m_codUsuario}, 0) == 1;
}

bool TContext::RegistraInstancia()
{
    // Without an address the row would key nobody: the server could never match it to this workstation.
    if (m_ip.isEmpty())
        return false;
    const bool existe = Inteiro(m_conexao, Consultas::InstanciasDoEndereco, {m_ip}, 0) > 0;
    const QString& comando = existe ? Consultas::AtualizaInstancia : Consultas::InsereInstancia;
    return m_conexao.ExecutaComando(comando, {m_codUsuario, m_ip}) > 0;
}

void TContext::AtualizaDocumentosImpressos()
{
    m_documentosImpressos =
        Inteiro(m_conexao, Consultas::PaginasImpressasNoMes, {m_mesAtual, m_codUsuario}, 0);
}

void TContext::AtualizaImpressoesRestantes()
{
    m_impressoesRestantes = Inteiro(m_conexao, Consultas::QuotaRestante, {m_codUsuario}, 0);
    m_ultimaAtualizacao = Clock::now();
}
