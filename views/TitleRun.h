#pragma once

#include <QString>

// A piece of the report's title with its own weight: the title is regular text with bold runs.
struct TitleRun {
    QString text;
    bool bold = false;

    bool operator==(const TitleRun&) const = default;
};
