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

// Takes the field at the front of resto (the text before its first ';', empty when it has none) and
// removes it with its ';'. A field is ended by its ';': without one there is no field.
QString TiraCampo(QString& resto);

enum class Numero {
    Inteiro,         // an optionally signed decimal integer that fits 32 bits
    ForaDoIntervalo, // a decimal integer beyond 32 bits
    NaoNumero,       // anything else: empty, blanks, tabs or line ends around the digits, other signs
};

// Reads campo as an optionally signed run of ASCII digits and nothing more; valor is set only for
// Numero::Inteiro.
Numero LeNumero(const QString& campo, int& valor);

// A field that must be a whole number of 32 bits; throws AppError naming the text otherwise.
int Inteiro(const QString& campo);

} // namespace FormatoMensagem
