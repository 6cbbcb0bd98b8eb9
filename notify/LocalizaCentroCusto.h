#pragma once

#include <QString>

class ResultSet;

// Moves the cost-centre list to the row whose code equals codigo, compared as numbers ("7" and "07"
// both find 7), and says whether it found one; otherwise the list is left on its last row. A code
// that is not a number is an error as soon as there is a row to compare it with; a number beyond
// 32 bits is a code that is not in the list.
bool LocalizaCentroCusto(ResultSet& lista, const QString& codigo);
