#include "DicaDaBandeja.h"

QString TextoDaDica(const QString& login, bool quotaInfinita, int impressoesRestantes)
{
    const QString disponivel =
        quotaInfinita ? QStringLiteral("Infinita") : QString::number(impressoesRestantes);
    return QStringLiteral("CorvelLane\rUsuário: ") + login + QStringLiteral("\rCota disponível: ") +
           disponivel;
}

bool RestantesVencidas(const QDateTime& ultimaAtualizacao, const QDateTime& agora)
{
    return agora > ultimaAtualizacao.addSecs(5);
}
