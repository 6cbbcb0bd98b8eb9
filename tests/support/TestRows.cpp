#include "TestRows.h"

#include "CodificaSenha.h"
#include "TestDatabase.h"

namespace TestRows {

void user(int code, const QString& login, int group, const QString& password)
{
    TestDatabase::exec("insert into usuario values (:P1, :P2, :P3, :P4)",
                       {code, login, CodificaSenha(password).toLower(), group});
}

void policy(int code, int group, const QVariant& unlimited, int quota, int day, int month)
{
    TestDatabase::exec("insert into politica values (:P1, :P2, :P3, :P4)", {code, group, unlimited, quota});
    TestDatabase::exec("insert into inicializacao values (:P1, :P2, :P3)", {code, day, month});
}

void account(int user, int policy, int remaining)
{
    TestDatabase::exec("insert into modp values (:P1, :P2, :P3)", {user, policy, remaining});
}

void job(int user, int status, int pages, const QString& dateExpression, int code)
{
    TestDatabase::exec(
        "insert into impressoes(cod_impressoes, cod_usuario, cod_impressora, "
        "cod_status_impressao, data_impressao, paginas) values (nullif(:P1, 0), :P2, 1, :P3, " +
            dateExpression + ", :P4)",
        {code, user, status, pages});
}

void costCentres(const QList<std::pair<int, QString>>& centres)
{
    for (const auto& [code, name] : centres)
        TestDatabase::exec("insert into centro_custo values (:P1, :P2)", {code, name});
}

} // namespace TestRows
