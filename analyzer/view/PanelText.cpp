#include "analyzer/view/PanelText.h"

#include <QFontMetrics>

namespace {

constexpr int kCellHeight = 14;

QFont ArialAtPixelSize(int pixelSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Normal);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// The largest pixel (em) size whose cell height fits 14 pixels: 12 for Arial
// and its metric twin Liberation Sans.
int CellPixelSize()
{
    static const int size = [] {
        for (int pixelSize = kCellHeight; pixelSize > 1; --pixelSize) {
            if (QFontMetrics(ArialAtPixelSize(pixelSize)).height() <= kCellHeight)
                return pixelSize;
        }
        return 12;
    }();
    return size;
}

} // namespace

namespace PanelText {

QFont Font()
{
    return ArialAtPixelSize(CellPixelSize());
}

void Begin(QPainter& painter)
{
    painter.setFont(Font());
    painter.setBackgroundMode(Qt::TransparentMode);
}

void Draw(QPainter& painter, int x, int y, const QString& text, const QColor& colour)
{
    painter.setPen(colour);
    painter.drawText(x, y + painter.fontMetrics().ascent(), text);
}

} // namespace PanelText
