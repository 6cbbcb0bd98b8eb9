#include "ReportFont.h"

#include <QSizeF>
#include <QTextLayout>

namespace {

// Room for rounding when a line's bottom is compared with the cell's.
constexpr double fit = 1e-6;

QString asOneParagraph(QString paragraph)
{
    for (QChar& c : paragraph)
        if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    return paragraph;
}

} // namespace

void layOutWrapped(QTextLayout& layout, double width)
{
    QTextOption option = layout.textOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    double bottom = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, bottom));
        bottom += line.height();
    }
    layout.endLayout();
}

ReportFont::ReportFont(const QFont& font, QPaintDevice* device)
    : m_font(font), m_device(device), m_metrics(font, device)
{
}

QString ReportFont::shownText(const QString& text, const QSizeF& cell) const
{
    const QString paragraph = asOneParagraph(text);
    if (advance(paragraph) <= cell.width())
        return paragraph;
    if (2 * m_metrics.height() > cell.height() + fit) // one line high: no need to wrap what is cut anyway
        return m_metrics.elidedText(paragraph, Qt::ElideRight, cell.width());

    QTextLayout layout(paragraph, m_font, m_device);
    layOutWrapped(layout, cell.width());

    QStringList shown;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        const bool nextCut =
            i + 1 < layout.lineCount() && layout.lineAt(i + 1).rect().bottom() > cell.height() + fit;
        if (nextCut) {
            shown.append(m_metrics.elidedText(paragraph.mid(line.textStart()), Qt::ElideRight, cell.width()));
            break;
        }
        shown.append(paragraph.mid(line.textStart(), line.textLength()));
    }
    return shown.join(u'\n');
}

double ReportFont::advance(const QString& text) const
{
    if (const auto found = m_advances.constFind(text); found != m_advances.cend())
        return *found;
    return *m_advances.insert(text, m_metrics.horizontalAdvance(text));
}
