#pragma once

#include "raster/CanvasFormat.h"

#include <cstdint>

// What the fourth channel and the store of a Color mean.
enum ColorKind : std::int32_t {
    ColorBytes = 1,   // r, g, b, t are bytes 0…255
    ColorFloats = 2,  // rf, gf, bf, tf are floats, nominally 0…1
};

// Hue, saturation and value, the argument of Color::fromHsv.
struct Hsv {
    double hue = 0.0;         // degrees, any value; reduced modulo 360
    double saturation = 0.0;  // 0…1, clamped when used
    double value = 0.0;       // 0…1, clamped when used
};

// A colour with a transparency, as bytes or as floats. The fourth channel is a
// transparency, not an opacity: 0 is fully opaque, 255 (or 1.0) leaves whatever
// it is drawn over unchanged.
struct Color {
    std::uint8_t r = 0, g = 0, b = 0, t = 0;  // kind ColorBytes
    float rf = 0.0f, gf = 0.0f, bf = 0.0f, tf = 0.0f;  // kind ColorFloats
    std::int32_t kind = 0;  // a ColorKind; any other value makes blendInto and modulate do nothing

    // An opaque (or partly transparent) byte colour.
    static constexpr Color bytes(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                                 std::uint8_t transparency = 0) {
        Color c;
        c.r = red;
        c.g = green;
        c.b = blue;
        c.t = transparency;
        c.kind = ColorBytes;
        return c;
    }

    // Mixes this colour into one canvas pixel of the given pixel format, a
    // PixelFormat.
    void blendInto(std::uint8_t* pixel, std::int32_t pixelFormat) const {
        // Bytes over bytes, the case of every pixel the clock draws, is kept
        // inline; the float combinations are out of line.
        if (pixelFormat == PixelFormatRgbBytes && kind == ColorBytes) {
            pixel[0] = blendByte(pixel[0], r, t);
            pixel[1] = blendByte(pixel[1], g, t);
            pixel[2] = blendByte(pixel[2], b, t);
        } else {
            blendIntoWithFloats(pixel, pixelFormat);
        }
    }
    // Multiplies the colours and the opacities of this colour and other.
    void modulate(const Color& other) {
        if (kind == ColorBytes && other.kind == ColorBytes) {
            r = static_cast<std::uint8_t>(r * other.r / 255);
            g = static_cast<std::uint8_t>(g * other.g / 255);
            b = static_cast<std::uint8_t>(b * other.b / 255);
            t = static_cast<std::uint8_t>(255 - ((255 - other.t) * (255 - t)) / 255);
        } else {
            modulateWithFloats(other);
        }
    }
    // Becomes the opaque byte colour of the hue, saturation and value.
    void fromHsv(const Hsv& hsv);
    // Becomes color weakened by a text coverage 0…255 (transparent black when
    // color is absent).
    void fromCoverage(const Color* color, std::uint8_t coverage);

private:
    // One byte channel mixed over a byte pixel channel.
    static std::uint8_t blendByte(std::uint8_t pixel, std::uint8_t channel, std::uint8_t transparency) {
        if (transparency == 0) {
            return channel;
        }
        return static_cast<std::uint8_t>((pixel * transparency + channel * (255 - transparency)) / 255);
    }
    void blendIntoWithFloats(std::uint8_t* pixel, std::int32_t pixelFormat) const;
    void modulateWithFloats(const Color& other);
};
