// TImage: a windowless picture on its parent, drawn at the top left, centred
// or stretched, with its transparent colour left out when Transparent, and
// sized to the picture when AutoSize.
#pragma once

#include "toolkit/graphics/bitmap.h"
#include "toolkit/graphics/bitmapprop.h"
#include "toolkit/core/classes.h"
#include "toolkit/controls/graphiccontrol.h"

namespace wt {

class TImage : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool Center READ Center WRITE SetCenter)
    Q_PROPERTY(wt::TBitmap Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_CLASSINFO("Default.AutoSize", "False")
    Q_CLASSINFO("Default.Center", "False")
    Q_CLASSINFO("Default.Stretch", "False")
    Q_CLASSINFO("Default.Transparent", "False")

public:
    explicit TImage(TComponent* owner = nullptr);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool Center() const { return center_; }
    void SetCenter(bool value);
    const TBitmap& Picture() const { return picture_; }
    void SetPicture(const TBitmap& value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);

    bool IsPropertyStored(const char* name) const override;
    void Loaded() override;

protected:
    void Paint() override;
    // Where the picture goes in the control.
    TRect DestRect() const;

private:
    void PictureChanged();

    bool autoSize_ = false;
    bool center_ = false;
    TBitmap picture_;
    bool stretch_ = false;
    bool transparent_ = false;
};

WT_REGISTER_CLASS(TImage);

} // namespace wt
