#pragma once

#include <QString>

// The account name of the user running the agent: what the accounting database's logins are.
namespace AccountName {

// Empty when the system cannot say.
QString current();

// Tests pretend to be another account until resetForTesting().
void setForTesting(const QString& name);
void resetForTesting();

} // namespace AccountName
