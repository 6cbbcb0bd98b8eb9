#pragma once

#include <QString>

// Windows-1252 is the byte form of text on port 900 and the code page of the stored password encoding.
// Qt's own codecs depend on how Qt was built (ICU or not), so the table lives here.
namespace Windows1252 {

QString decode(const QByteArray& bytes);

// Characters with no Windows-1252 code become '?', as the Windows conversion does.
QByteArray encode(const QString& text);

} // namespace Windows1252
