#pragma once

#include <QByteArrayView>
#include <QString>

// The snapshot files of the pending notifications: logfila<number>.txt in the working directory. Only the
// latest ones are kept: the file of the oldest kept one becomes the next one.
namespace InstantaneoDaFila {

inline constexpr int Guardados = 100;

QString Nome(int numero);
// Writes the snapshot with that number, replacing a file of the same name. Throws AppError.
void Grava(int numero, QByteArrayView conteudo);

} // namespace InstantaneoDaFila
