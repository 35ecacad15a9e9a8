#pragma once

#include "designer/ButtonComposer.h"

#include <QPushButton>

#include <array>
#include <optional>

// A push button that paints itself from pictures: one per draw state, with a
// caption colour per state, composed off screen so that what lies under its
// transparent parts shows through. With autoSize it always has the size of
// its first picture, centred on whatever rectangle it is given.
class CCoButton : public QPushButton {
    Q_OBJECT
public:
    enum class Source { Png, Bitmap };

    explicit CCoButton(QWidget* parent = nullptr);

    // Loads picture `number` into every slot whose bit is set in `mask`
    // (bit 0 = slot 0 ... bit 5 = slot 5), then re-applies the size.
    void LoadPictures(unsigned mask, int number, Source source = Source::Png);
    // An empty colour means the system's button-text colour.
    void SetTextColor(int drawState, const std::optional<QColor>& colour);
    void SetAutoSize(bool on);
    bool AutoSize() const { return autoSize; }
    void SetTransparentColor(std::optional<QRgb> colour);
    // false: the window paints the button (play mode); it only keeps its state.
    void SetSelfDrawn(bool on);
    bool SelfDrawn() const { return selfDrawn; }
    bool Hovering() const { return hovering; }
    int DrawState() const { return drawState; }
    const std::array<QImage, compose::kSlotCount>& StateImages() const { return stateImages; }

    // The size of the first picture among slots 0-4; invalid without any.
    QSize PictureSize() const;
    // Places the button; with autoSize the size invariant applies at once.
    void SetRect(const QRect& rect);
    // How the button looks in its current draw state.
    compose::ButtonFace Face() const;

signals:
    // A button the window paints changed its draw state.
    void DrawStateChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int ChooseDrawState() const;

    std::array<QImage, compose::kSlotCount> stateImages;
    std::array<std::optional<QColor>, 5> textColors;
    int drawState = compose::kNormal;
    bool hovering = false;
    bool selfDrawn = true;
    bool autoSize = false;
    std::optional<QRgb> transparentColor;
};
