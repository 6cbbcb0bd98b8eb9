#pragma once

#include <QImage>
#include <QStringList>

// Decodes the installation's JPEG pictures with libjpeg. A damaged picture is an AppError naming the
// file, never the end of the program. A file whose image data stops early still loads: libjpeg fills
// the missing rows with grey and reports warnings, which are collected here rather than printed.
namespace JpegLoader {

// warnings, when given, receives libjpeg's warnings (for instance a premature end of the data).
QImage load(const QString& path, QStringList* warnings = nullptr);

} // namespace JpegLoader
