// Bitmap properties in form descriptions (a button's Glyph, an image's
// Picture): a resource name ('BMP_OPEN_FILE') or inline image data ({...},
// PNG or BMP bytes). Written back as inline PNG data.
#pragma once

namespace wt {

// Makes form descriptions read and write TBitmap values.
bool RegisterBitmapPropertyCodec();
inline const bool bitmapPropertyCodecRegistered_ = RegisterBitmapPropertyCodec();

} // namespace wt
