#pragma once
// A windowless control that fills its area with a colour blend in bands, in one of six
// directions, drawn off-screen and copied to the screen in one step. A left press on it can
// drag the form it sits on.
#include "components/VrControls.h"

class TVrCustomGradient : public TVrGraphicImageControl {
public:
    TVrCustomGradient(fw::Container* parent, std::wstring name);

    void Paint() override;
    HPALETTE GetPalette() override { return ImageBitmap().Palette(); }
    void MouseDown(fw::MouseButton button, fw::ShiftState shift, int x, int y) override;

protected:
    fw::Color StartColor() const { return startColor_; }
    void SetStartColor(fw::Color c);
    fw::Color EndColor() const { return endColor_; }
    void SetEndColor(fw::Color c);
    // Band width in pixels (the pen width of the diagonal directions); values below 1 are
    // ignored.
    int ColorWidth() const { return colorWidth_; }
    void SetColorWidth(int w);
    TVrGradDirection Direction() const { return direction_; }
    void SetDirection(TVrGradDirection d);
    // A left press drags the form (stored only; read at each press).
    bool FormDrag() const { return formDrag_; }
    void SetFormDrag(bool f) { formDrag_ = f; }
    // Draw with start and end colours exchanged.
    bool SwapColors() const { return swapColors_; }
    void SetSwapColors(bool s);

private:
    fw::Color startColor_ = fw::kLime;
    fw::Color endColor_ = fw::kBlack;
    int colorWidth_ = 1;
    TVrGradDirection direction_ = gdUpDown;
    bool formDrag_ = false;
    bool swapColors_ = false;
};

class TVrGradient : public TVrCustomGradient {
public:
    using TVrCustomGradient::TVrCustomGradient;

    using TVrCustomGradient::ColorWidth;
    using TVrCustomGradient::Direction;
    using TVrCustomGradient::EndColor;
    using TVrCustomGradient::FormDrag;
    using TVrCustomGradient::SetColorWidth;
    using TVrCustomGradient::SetDirection;
    using TVrCustomGradient::SetEndColor;
    using TVrCustomGradient::SetFormDrag;
    using TVrCustomGradient::SetStartColor;
    using TVrCustomGradient::SetSwapColors;
    using TVrCustomGradient::StartColor;
    using TVrCustomGradient::SwapColors;
};
