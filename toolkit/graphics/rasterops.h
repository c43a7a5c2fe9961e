// Ternary raster operations of bit-block transfers: each code's high word's
// low byte is the truth table of the result over pattern, source and
// destination bits, applied to every bit of every pixel.
#pragma once

#include <cstdint>

namespace wt {

using TRasterOp = std::uint32_t;

inline constexpr TRasterOp SRCCOPY = 0x00CC0020;     // S
inline constexpr TRasterOp SRCPAINT = 0x00EE0086;    // S | D
inline constexpr TRasterOp SRCAND = 0x008800C6;      // S & D
inline constexpr TRasterOp SRCINVERT = 0x00660046;   // S ^ D
inline constexpr TRasterOp SRCERASE = 0x00440328;    // S & ~D
inline constexpr TRasterOp NOTSRCCOPY = 0x00330008;  // ~S
inline constexpr TRasterOp NOTSRCERASE = 0x001100A6; // ~(S | D)
inline constexpr TRasterOp MERGECOPY = 0x00C000CA;   // P & S
inline constexpr TRasterOp MERGEPAINT = 0x00BB0226;  // ~S | D
inline constexpr TRasterOp PATCOPY = 0x00F00021;     // P
inline constexpr TRasterOp PATPAINT = 0x00FB0A09;    // P | ~S | D
inline constexpr TRasterOp PATINVERT = 0x005A0049;   // P ^ D
inline constexpr TRasterOp DSTINVERT = 0x00550009;   // ~D
inline constexpr TRasterOp BLACKNESS = 0x00000042;   // 0
inline constexpr TRasterOp WHITENESS = 0x00FF0062;   // 1
// D & ~S: clears the destination where the source is set (masked copies).
inline constexpr TRasterOp DSna = 0x00220326;
// Where the pattern is set take the source, elsewhere keep the destination:
// (P & S) | (~P & D). Used with a checkerboard brush to dither.
inline constexpr TRasterOp DSPDxax = 0x00CA0749;

// The truth-table index of a code: bit (p << 2 | s << 1 | d) gives the result.
constexpr std::uint8_t RopIndex(TRasterOp rop) { return static_cast<std::uint8_t>(rop >> 16); }

// Applies the operation to every bit of the three values.
constexpr std::uint32_t ApplyRop(TRasterOp rop, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    const std::uint8_t table = RopIndex(rop);
    std::uint32_t result = 0;
    for (int i = 0; i < 8; ++i) {
        if (!(table >> i & 1))
            continue;
        const std::uint32_t pm = (i & 4) ? p : ~p;
        const std::uint32_t sm = (i & 2) ? s : ~s;
        const std::uint32_t dm = (i & 1) ? d : ~d;
        result |= pm & sm & dm;
    }
    return result;
}

// Whether the result depends on the source or the pattern at all.
constexpr bool RopUsesSource(TRasterOp rop) {
    const std::uint8_t t = RopIndex(rop);
    return ((t >> 2) & 0x33) != (t & 0x33);
}
constexpr bool RopUsesPattern(TRasterOp rop) {
    const std::uint8_t t = RopIndex(rop);
    return (t >> 4) != (t & 0x0F);
}

} // namespace wt
