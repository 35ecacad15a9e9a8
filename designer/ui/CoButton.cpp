#include "designer/ui/CoButton.h"

#include "designer/TrackerGeometry.h"
#include "designer/ui/Pictures.h"

#include <QPainter>

CCoButton::CCoButton(QWidget* parent) : QPushButton(parent)
{
    // Every pixel is composed here; nothing is erased first.
    setAttribute(Qt::WA_NoSystemBackground);
    setFlat(true);
}

void CCoButton::LoadPictures(unsigned mask, int number, Source source)
{
    for (int slot = 0; slot < compose::kSlotCount; ++slot)
        if (mask & (1u << slot))
            stateImages[static_cast<size_t>(slot)] = source == Source::Png ? PngPicture(number) : BitmapPicture(number);
    SetRect(geometry());
    update();
}

void CCoButton::SetTextColor(int state, const std::optional<QColor>& colour)
{
    if (state >= 0 && state < static_cast<int>(textColors.size()))
        textColors[static_cast<size_t>(state)] = colour;
    update();
}

void CCoButton::SetAutoSize(bool on)
{
    autoSize = on;
    SetRect(geometry());
}

void CCoButton::SetTransparentColor(std::optional<QRgb> colour)
{
    transparentColor = colour;
    update();
}

void CCoButton::SetSelfDrawn(bool on)
{
    selfDrawn = on;
    update();
}

QSize CCoButton::PictureSize() const
{
    for (int slot = 0; slot <= compose::kPressed; ++slot)
        if (!stateImages[static_cast<size_t>(slot)].isNull())
            return stateImages[static_cast<size_t>(slot)].size();
    return {};
}

void CCoButton::SetRect(const QRect& rect)
{
    const QSize picture = PictureSize();
    if (!autoSize || !picture.isValid() || rect.size() == picture) {
        setGeometry(rect);
        return;
    }
    setGeometry(tracker::SnapToPicture(DesignRect::FromQRect(rect), picture.width(), picture.height()).ToQRect());
}

int CCoButton::ChooseDrawState() const
{
    if (!isEnabled())
        return compose::kDisabled;
    if (isDown())
        return compose::kPressed;
    if (hovering)
        return compose::kHover;
    if (hasFocus())
        return compose::kFocus;
    return compose::kNormal;
}

compose::ButtonFace CCoButton::Face() const
{
    compose::ButtonFace face;
    face.stateImages = stateImages;
    face.drawState = drawState;
    face.caption = text();
    face.font = font();
    face.textColor = textColors[static_cast<size_t>(drawState)].value_or(palette().color(QPalette::ButtonText));
    face.windowColor = palette().color(QPalette::Base);
    face.grayTextColor = palette().color(QPalette::Disabled, QPalette::Text);
    face.transparentColor = transparentColor;
    return face;
}

void CCoButton::paintEvent(QPaintEvent*)
{
    const int state = ChooseDrawState();
    if (!selfDrawn) {
        if (state != drawState) {
            drawState = state;
            emit DrawStateChanged();
        }
        return;
    }
    drawState = state;
    // Composed on a transparent layer, which the widget's own backing store
    // then blends over what lies underneath.
    QImage layer(size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    compose::ComposeButton(layer, layer.rect(), Face());
    QPainter(this).drawImage(0, 0, layer);
}

void CCoButton::enterEvent(QEnterEvent* event)
{
    hovering = true;
    repaint();
    QPushButton::enterEvent(event);
}

void CCoButton::leaveEvent(QEvent* event)
{
    hovering = false;
    repaint();
    QPushButton::leaveEvent(event);
}

void CCoButton::resizeEvent(QResizeEvent* event)
{
    QPushButton::resizeEvent(event);
    const QSize picture = PictureSize();
    if (autoSize && picture.isValid() && size() != picture)
        SetRect(geometry());
    update();
}
