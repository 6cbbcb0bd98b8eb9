#include "InstantaneoDaFila.h"

#include "AppError.h"
#include "WriteAll.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What was longer in the file before goes; a file that grows needs no truncation.
bool ajustaTamanho(int arquivo, qsizetype tamanho)
{
    struct stat estado = {};
    if (::fstat(arquivo, &estado) != 0)
        return false;
    return estado.st_size <= tamanho || ::ftruncate(arquivo, tamanho) == 0;
}

} // namespace

namespace InstantaneoDaFila {

QString nome(int numero)
{
    return QStringLiteral("logfila%1.txt").arg(numero);
}

void grava(int numero, QByteArrayView conteudo)
{
    const QByteArray caminho = QFile::encodeName(nome(numero));
    if (numero >= Guardados) {
        // Without a file to take over (the first ones of a run, or one removed meanwhile) a new one
        // is created below.
        ::rename(QFile::encodeName(nome(numero - Guardados)).constData(), caminho.constData());
    }
    const int arquivo = ::open(caminho.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (arquivo < 0)
        throw AppError(QStringLiteral("Não foi possível gravar ") + nome(numero));
    const bool gravado = writeAll(arquivo, conteudo) && ajustaTamanho(arquivo, conteudo.size());
    if (::close(arquivo) != 0 || !gravado)
        throw AppError(QStringLiteral("Não foi possível gravar ") + nome(numero));
}

} // namespace InstantaneoDaFila
