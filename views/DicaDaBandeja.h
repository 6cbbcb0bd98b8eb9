#pragma once

#include <QDateTime>

// The tray icon's tooltip: the product, the user and the pages still available, on three lines
// separated by carriage returns.
QString TextoDaDica(const QString& login, bool quotaInfinita, int impressoesRestantes);

// The remaining pages are read again only when the last reading is more than 5 seconds old: mouse
// moves over the icon arrive many times a second.
bool RestantesVencidas(const QDateTime& ultimaAtualizacao, const QDateTime& agora);
