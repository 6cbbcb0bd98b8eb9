#pragma once

#include <QByteArrayView>

// Writes every byte to the open file descriptor, going on after a signal or a short write. False when
// the file takes no more (disk full, an error): what was written stays written.
bool writeAll(int descriptor, QByteArrayView bytes);
