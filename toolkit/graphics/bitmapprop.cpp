#include "toolkit/graphics/bitmapprop.h"

#include "toolkit/graphics/bitmap.h"
#include "toolkit/core/classes.h"

#include <QBuffer>
#include <QImage>

namespace wt {

bool RegisterBitmapPropertyCodec() {
    TPropertyCodec codec;
    codec.Read = [](const TFormValue& value) -> std::optional<QVariant> {
        TBitmap bitmap;
        if (value.Type == TFormValue::String || value.Type == TFormValue::Ident) {
            const QImage image = FindBitmapResource(value.Text);
            if (image.isNull())
                return std::nullopt;
            bitmap.SetImage(image);
        } else if (value.Type == TFormValue::Binary) {
            QImage image;
            if (!value.Data.isEmpty() && !image.loadFromData(value.Data))
                return std::nullopt;
            if (!image.isNull())
                bitmap.SetImage(image);
        } else {
            return std::nullopt;
        }
        return QVariant::fromValue(bitmap);
    };
    codec.Write = [](const QVariant& value) {
        const TBitmap bitmap = value.value<TBitmap>();
        QByteArray data;
        if (!bitmap.Empty()) {
            QBuffer buffer(&data);
            buffer.open(QIODevice::WriteOnly);
            bitmap.Image().save(&buffer, "PNG");
        }
        return TFormValue::MakeBinary(data);
    };
    RegisterPropertyCodec(QMetaType::fromType<TBitmap>(), std::move(codec));
    return true;
}

} // namespace wt
