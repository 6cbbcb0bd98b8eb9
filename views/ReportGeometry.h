#pragma once

#include <QColor>
#include <array>

// The printed report's fixed geometry, in millimetres: page, bands and the place of every field.
namespace ReportGeometry {

// A4 landscape less 10 mm on every side.
inline constexpr double PageMargin = 10.0;
inline constexpr double AreaWidth = 277.0;
inline constexpr double AreaHeight = 190.0;

inline constexpr double TitleHeight = 22.2;
inline constexpr double HeaderHeight = 5.0;
inline constexpr double DetailHeight = 9.5;
inline constexpr double SummaryHeight = 4.8;

inline const QColor HeaderColor{215, 215, 215};
inline const QColor SummaryColor{192, 192, 192};

struct Box {
    double left;
    double top;
    double width;
    double height;
};

inline constexpr Box Logo{0.0, 0.8, 64.8, 20.6};
inline constexpr Box Title{66.1, 7.9, 207.2, 20.4};

struct Caption {
    const char16_t* text;
    double left;
    double width;
};

inline constexpr std::array<Caption, 8> HeaderCaptions{{
    {u"Job", 0.3, 9.8},
    {u"Data", 10.1, 18.5},
    {u"Grupo", 28.6, 22.5},
    {u"Impressora", 51.1, 34.7},
    {u"Estação", 85.7, 37.6},
    {u"Arquivo", 123.3, 84.1},
    {u"Páginas", 207.4, 14.0},
    {u"Status", 221.5, 55.3},
}};

// The first line of a detail band: the fields that turn bold for a status other than 1.
inline constexpr double FirstLineTop = 0.0;
inline constexpr double FirstLineHeight = 4.2;
inline constexpr Box JobCode{0.5, 1.9, 9.3, 4.5};
inline constexpr Box Date{10.3, FirstLineTop, 17.7, FirstLineHeight};
inline constexpr Box Group{28.8, FirstLineTop, 21.7, FirstLineHeight};
inline constexpr Box Printer{51.3, FirstLineTop, 33.9, FirstLineHeight};
inline constexpr Box Station{86.0, FirstLineTop, 36.8, FirstLineHeight};
inline constexpr Box Document{123.6, FirstLineTop, 83.3, FirstLineHeight};
inline constexpr Box Pages{207.7, FirstLineTop, 13.2, FirstLineHeight};
inline constexpr Box Status{221.7, FirstLineTop, 54.5, FirstLineHeight};

inline constexpr std::array<double, 6> ShortRules{28.3, 50.8, 85.5, 123.0, 207.2, 221.2};
inline constexpr double ShortRuleHeight = 4.2;
inline constexpr double JobRuleLeft = 10.1;
inline constexpr double JobRuleHeight = 8.7;
inline constexpr double MiddleRuleTop = 4.2;
inline constexpr double MiddleRuleLeft = 10.3;
inline constexpr double MiddleRuleLength = 266.7;

// The second line: the observation.
inline constexpr Box ObservationCaption{10.1, 4.8, 22.8, 4.2};
inline constexpr Box Observation{33.3, 4.8, 243.9, 4.2};

inline constexpr Box SummaryCaption{0.8, 0.0, 206.6, SummaryHeight};
inline constexpr Box SummaryTotal{207.4, 0.0, 14.3, SummaryHeight};

} // namespace ReportGeometry
