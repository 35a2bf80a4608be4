#include "raster/Color.h"

#include "raster/Truncate.h"

#include <cmath>
#include <cstring>

namespace {

constexpr double inverse255 = 0.00392156862745098;  // 1/255
constexpr double inverse360 = 0.002777777777777778;  // 1/360, degrees
constexpr double inverse60 = 0.016666666666666666;   // 1/60, degrees

// Float stores are reached through byte pointers; copying keeps the access defined.
float loadFloat(const std::uint8_t* at) {
    float value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

void storeFloat(std::uint8_t* at, float value) { std::memcpy(at, &value, sizeof value); }

// One float channel of a float colour mixed over a byte pixel channel. The channel
// becomes a byte by truncating c·255.5; its low eight bits are what reaches the pixel.
std::uint8_t blendFloatOverByte(std::uint8_t pixel, float channel, float transparency) {
    const std::int32_t channelByte = truncateToInt32(static_cast<double>(channel) * 255.5);
    if (transparency == 0.0f) {
        return static_cast<std::uint8_t>(channelByte & 0xFF);
    }
    const double tf = transparency;
    return lowByteOfTruncated(pixel * tf + (channelByte & 0xFF) * (1.0 - tf));
}

float blendFloatOverFloat(float pixel, float channel, float transparency) {
    if (transparency == 0.0f) {
        return channel;
    }
    const double tf = transparency;
    return static_cast<float>(pixel * tf + channel * (1.0 - tf));
}

// One byte channel of a byte colour mixed over a float pixel channel: the product
// t·P stays in single precision, the rest is double.
float blendByteOverFloat(float pixel, std::uint8_t channel, std::uint8_t transparency) {
    if (transparency == 0) {
        return static_cast<float>(channel * inverse255);
    }
    const float weightedPixel = static_cast<float>(transparency) * pixel;
    const double weightedChannel = channel * (255 - transparency) * inverse255;
    return static_cast<float>((weightedChannel + weightedPixel) * inverse255);
}

double clampUnit(double value) {
    if (value < 0.0) {
        return 0.0;
    }
    if (value > 1.0) {
        return 1.0;
    }
    return value;
}

}  // namespace

void Color::blendIntoWithFloats(std::uint8_t* pixel, std::int32_t pixelFormat) const {
    if (pixelFormat == PixelFormatRgbBytes && kind == ColorFloats) {
        pixel[0] = blendFloatOverByte(pixel[0], rf, tf);
        pixel[1] = blendFloatOverByte(pixel[1], gf, tf);
        pixel[2] = blendFloatOverByte(pixel[2], bf, tf);
    } else if (pixelFormat == PixelFormatRgbFloats && kind == ColorFloats) {
        storeFloat(pixel, blendFloatOverFloat(loadFloat(pixel), rf, tf));
        storeFloat(pixel + 4, blendFloatOverFloat(loadFloat(pixel + 4), gf, tf));
        storeFloat(pixel + 8, blendFloatOverFloat(loadFloat(pixel + 8), bf, tf));
    } else if (pixelFormat == PixelFormatRgbFloats && kind == ColorBytes) {
        storeFloat(pixel, blendByteOverFloat(loadFloat(pixel), r, t));
        storeFloat(pixel + 4, blendByteOverFloat(loadFloat(pixel + 4), g, t));
        storeFloat(pixel + 8, blendByteOverFloat(loadFloat(pixel + 8), b, t));
    }
}

void Color::modulateWithFloats(const Color& other) {
    if (kind == ColorBytes && other.kind == ColorFloats) {
        r = lowByteOfTruncated(static_cast<float>(r) * other.rf);
        g = lowByteOfTruncated(static_cast<float>(g) * other.gf);
        b = lowByteOfTruncated(static_cast<float>(b) * other.bf);
        const float otherOpacity = 1.0f - other.tf;
        t = lowByteOfTruncated(255.0 - static_cast<double>(otherOpacity) * (255 - t));
    } else if (kind == ColorFloats && other.kind == ColorBytes) {
        rf = static_cast<float>(static_cast<float>(other.r) * rf * inverse255);
        gf = static_cast<float>(static_cast<float>(other.g) * gf * inverse255);
        bf = static_cast<float>(static_cast<float>(other.b) * bf * inverse255);
        const float opacity = 1.0f - tf;
        tf = static_cast<float>(1.0 - (255 - other.t) * static_cast<double>(opacity) * inverse255);
    } else if (kind == ColorFloats && other.kind == ColorFloats) {
        rf = rf * other.rf;
        gf = gf * other.gf;
        bf = bf * other.bf;
        tf = 1.0f - (1.0f - tf) * (1.0f - other.tf);
    }
}

void Color::fromHsv(const Hsv& hsv) {
    const double h = hsv.hue - 360.0 * std::floor(hsv.hue * inverse360);  // degrees, [0, 360)
    double weightRed = 0.0;
    double weightGreen = 0.0;
    double weightBlue = 0.0;
    if (h < 120.0) {
        weightRed = (120.0 - h) * inverse60;
        weightGreen = h * inverse60;
    } else if (h < 240.0) {
        weightGreen = (240.0 - h) * inverse60;
        weightBlue = (h - 120.0) * inverse60;
    } else {
        weightRed = (h - 240.0) * inverse60;
        weightBlue = (360.0 - h) * inverse60;
    }
    const double s = clampUnit(hsv.saturation);
    const double v = clampUnit(hsv.value);
    const auto channel = [s, v](double weight) {
        if (weight > 1.0) {
            weight = 1.0;
        }
        return lowByteOfTruncated((v - v * s + v * s * weight) * 255.5);
    };
    r = channel(weightRed);
    g = channel(weightGreen);
    b = channel(weightBlue);
    t = 0;
    kind = ColorBytes;
}

void Color::fromCoverage(const Color* color, std::uint8_t coverage) {
    kind = ColorBytes;
    if (color == nullptr) {
        r = 0;
        g = 0;
        b = 0;
        t = 255;
        return;
    }
    r = static_cast<std::uint8_t>(color->r * coverage / 255);
    g = static_cast<std::uint8_t>(color->g * coverage / 255);
    b = static_cast<std::uint8_t>(color->b * coverage / 255);
    t = static_cast<std::uint8_t>((color->t * coverage + (255 - coverage) * 255) / 255);
}
