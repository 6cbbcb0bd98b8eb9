#pragma once

#include <QString>
#include <QStringList>

// The agent writes its statements with named markers (":P1", ":PCodUsuario"); the driver takes '?'.
// A marker is ':' followed by a name outside '...', "..." and `...`; "::" is one literal ':'. The name
// runs up to a blank, tab, CR, LF, ',', ';', ')' or the end. Every occurrence is one positional
// parameter, in the order of the text: names play no part in binding.
struct ParameterMarkers {
    QString positionalSql;
    QStringList names;

    static ParameterMarkers scan(const QString& sql);
};
