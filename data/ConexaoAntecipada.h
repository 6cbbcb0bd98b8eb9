#pragma once

#include "OdbcConnection.h"

#include <QString>
#include <optional>

// The database connection started before the window system is up: loading the driver and the
// server's handshake take about as long as opening the display, and both can go on at once. The
// data module takes the connection when it connects with the same text.
namespace ConexaoAntecipada {

// Starts connecting with that text on a thread of its own.
void inicia(const QString& cadeia);
// Waits until the connection started, if any, is made or has failed.
void aguarda();
// The connection started for that text, once made; its failure is thrown (DatabaseError). Nothing
// when none was started for that text. Either way, what was started is given up.
std::optional<OdbcConnection::Handles> toma(const QString& cadeia);

} // namespace ConexaoAntecipada
