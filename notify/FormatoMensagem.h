#pragma once

#include <QString>

// The wire format of the server's notifications: "<kind>;<fields>", 7 to 299 characters, fields
// separated by ';' with no quoting; the last field of a kind runs to the end of the text.
namespace FormatoMensagem {

inline constexpr int ComprimentoMinimo = 7;
inline constexpr int ComprimentoMaximo = 299;

// True when the text goes into the queue; false when it is dropped (a negative kind, or a length
// outside the limits). Throws AppError when there is no ';' or the kind is not a decimal integer.
bool Aceita(const QString& texto);

// The kind: the text before the first ';' as an integer; throws AppError when it is not one.
int Tipo(const QString& texto);

// What follows the first ';'.
QString Resto(const QString& texto);

// Takes the field at the front of resto (up to the next ';', or all of it when there is none) and
// removes it with its ';'.
QString TiraCampo(QString& resto);

// A field that must be a whole number; throws AppError naming the text otherwise.
int Inteiro(const QString& campo);

} // namespace FormatoMensagem
