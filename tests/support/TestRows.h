#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <utility>

// The rows of an installation as the tests lay them out, one function per kind of row, so that every
// test builds its users, policies, jobs and cost centres the same way (through TestDatabase::exec).
namespace TestRows {

// A user, with the password stored as the login panel encodes it.
void user(int code, const QString& login, int group, const QString& password = QStringLiteral("senha123"));
// A policy of a group (unlimited may be NULL) and the day and month its period starts on.
void policy(int code, int group, const QVariant& unlimited, int quota, int day = 1, int month = 0);
// The user's quota account under a policy, holding the pages that remain.
void account(int user, int policy, int remaining);
// A job of the user on printer 1, dated by an SQL expression on the server's clock; a code of 0 lets
// the server number it.
void job(int user, int status, int pages, const QString& dateExpression = QStringLiteral("sysdate()"),
         int code = 0);
void costCentres(const QList<std::pair<int, QString>>& centres);

} // namespace TestRows
