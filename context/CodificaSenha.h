#pragma once

#include <QString>

// The stored form of a password: each Windows-1252 code added to the code of the key character at the
// same position, written in upper-case hexadecimal with at least two digits (three above 255). The key
// is shared with whatever writes usuario.password, so it is part of the data format.
//
// A password longer than the 32-character key goes on with the key from its start again: passwords of
// up to 32 characters keep the values the server stores, and longer ones still depend on every character.
QString CodificaSenha(const QString& senha);

// One character's group: the sum in upper-case hexadecimal, at least two digits (9 is "09", 300 "12C").
QString GrupoHexadecimal(int soma);

inline constexpr char ChaveSenha[] = "Qp3rTn8vLw2Zk5HsYd7Bm4Xc9Fg6Jh1R";
