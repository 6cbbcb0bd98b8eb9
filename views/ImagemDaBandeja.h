#pragma once

// The tray image for a limited quota: grey (8) when nothing remains, otherwise by the share used,
// red (6) above 75 %, orange (7) from 50 to 75 %, yellow-green (10) below 50 %.
int ImagemDaBandeja(int documentosImpressos, int impressoesRestantes);

inline constexpr int ImagemCotaInfinita = 9;
