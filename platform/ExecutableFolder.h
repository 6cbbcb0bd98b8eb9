#pragma once

#include <QString>

// The folder of the program file, ending with '/': where Log.txt and Imagens/ live.
namespace ExecutableFolder {

QString path();

// Tests point the agent at a scratch folder; an empty text restores the real one.
void setForTesting(const QString& folder);

} // namespace ExecutableFolder
