#include "raster/Primitives.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

// The ratio of two integer differences, in double precision.
double ratio(std::int64_t numerator, std::int64_t denominator) {
    return static_cast<double>(numerator) / static_cast<double>(denominator);
}

bool inUnitRange(double t) { return t >= 0.0 && t <= 1.0; }

// value moved by difference·t truncated toward zero. With t in 0…1 the result lies
// between value and value + difference, both 32-bit; only the offset itself may
// need 64 bits.
std::int32_t moved(std::int32_t value, std::int64_t difference, double t) {
    return static_cast<std::int32_t>(value +
                                     static_cast<std::int64_t>(static_cast<double>(difference) * t));
}

// One side of clipLine: moves the end point (a, b) along the segment to the
// edges a = 0 and a = size, where a is the coordinate being clipped and b the
// other one. fromStart picks the start point's formulas, in which t runs from
// the start; for the end point t runs back from the end. Returns 0 when the
// point cannot be brought inside.
std::int32_t clipEnd(std::int32_t& a, std::int32_t& b, std::int64_t da, std::int64_t db,
                     std::int32_t size, bool fromStart) {
    if (a < 0 && da != 0) {
        const double t = fromStart ? ratio(-std::int64_t{a}, da) : ratio(a, da);
        if (!inUnitRange(t)) {
            return 0;
        }
        b = moved(b, fromStart ? db : -db, t);
        a = 0;
    } else if (a >= size && da != 0) {
        // The crossing is computed with the edge at size, the point set to size − 1.
        const double t = fromStart ? ratio(std::int64_t{size} - a, da)
                                   : ratio(std::int64_t{a} - size, da);
        if (inUnitRange(t)) {
            b = moved(b, fromStart ? db : -db, t);
            a = size - 1;
        }
    }
    return (a < 0 || a >= size) ? 0 : 1;
}

}  // namespace

std::int32_t clipLine(const Canvas& canvas, std::int32_t& x0, std::int32_t& y0, std::int32_t& x1,
                      std::int32_t& y1) {
    // Each step takes the differences from the coordinates as the steps before
    // left them; 64-bit differences cannot overflow.
    const auto dx = [&] { return std::int64_t{x1} - x0; };
    const auto dy = [&] { return std::int64_t{y1} - y0; };
    if (clipEnd(x0, y0, dx(), dy(), canvas.width, true) == 0) {
        return 0;
    }
    if (clipEnd(y0, x0, dy(), dx(), canvas.height, true) == 0) {
        return 0;
    }
    if (clipEnd(x1, y1, dx(), dy(), canvas.width, false) == 0) {
        return 0;
    }
    if (clipEnd(y1, x1, dy(), dx(), canvas.height, false) == 0) {
        return 0;
    }
    return 1;
}

void line(Canvas& canvas, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
          const Color& color) {
    if (clipLine(canvas, x0, y0, x1, y1) == 0) {
        return;
    }
    const std::int64_t dx = std::int64_t{x1} - x0;
    const std::int64_t dy = std::int64_t{y1} - y0;
    const std::int64_t n = std::max(std::llabs(dx), std::llabs(dy));
    if (n <= 0) {
        return;
    }
    // From the end point back to the start. Each offset from the start point is
    // truncated toward zero, so intermediate pixels lean toward the start point.
    // 64-bit products: a wide canvas must not overflow dx·k.
    for (std::int64_t k = n; k >= 0; --k) {
        const auto x = static_cast<std::int32_t>(x0 + dx * k / n);
        const auto y = static_cast<std::int32_t>(y0 + dy * k / n);
        canvas.plot(x, y, color, DepthOff, 0.0);
    }
}

void fillRect(Canvas& canvas, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
              const Color& color) {
    // Clamping into 0…size − 1 folds a rectangle beside the canvas onto its last
    // column or row, where equal ends then draw nothing.
    const auto clampInto = [](std::int32_t v, std::int32_t size) {
        return v < 0 ? 0 : (v >= size ? size - 1 : v);
    };
    x0 = clampInto(x0, canvas.width);
    x1 = clampInto(x1, canvas.width);
    y0 = clampInto(y0, canvas.height);
    y1 = clampInto(y1, canvas.height);
    if (x0 == x1 || y0 == y1) {
        return;
    }
    if (x0 > x1) {
        std::swap(x0, x1);
    }
    if (y0 > y1) {
        std::swap(y0, y1);
    }
    for (std::int32_t y = y0; y <= y1; ++y) {
        canvas.plotSpan(x0, x1, y, color, DepthForce, Canvas::farthestDepth);
    }
}

void span(Canvas& canvas, std::int32_t x0, std::int32_t x1, std::int32_t y, const Color& color) {
    canvas.plotSpan(x0, x1, y, color, DepthForce, Canvas::farthestDepth);
}

void triangle(Canvas& canvas, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
              std::int32_t x2, std::int32_t y2, const Color& color, std::int16_t filled) {
    if (filled == 0) {
        line(canvas, x0, y0, x1, y1, color);
        line(canvas, x1, y1, x2, y2, color);
        line(canvas, x2, y2, x0, y0, color);
        return;
    }
    const std::int32_t xs[3] = {x0, x1, x2};
    const std::int32_t ys[3] = {y0, y1, y2};
    const std::int32_t ymin = std::max(0, std::min({y0, y1, y2}));
    std::int32_t ymax = std::max({y0, y1, y2});
    if (ymax >= canvas.height) {
        ymax = canvas.height - 1;
    }
    for (std::int32_t y = ymin; y <= ymax; ++y) {
        std::int32_t xl = canvas.width - 1;
        std::int32_t xr = 0;
        for (int i = 0; i < 3; ++i) {
            const int p = i == 0 ? 2 : i - 1;  // the edge from the previous vertex to vertex i
            const std::int64_t rise = std::int64_t{ys[i]} - ys[p];
            if (rise == 0) {
                continue;
            }
            const double t = ratio(std::int64_t{y} - ys[p], rise);
            if (inUnitRange(t)) {
                const std::int32_t x = moved(xs[p], std::int64_t{xs[i]} - xs[p], t);
                xl = std::min(xl, x);
                xr = std::max(xr, x);
            }
        }
        xl = std::max(xl, 0);
        if (xr >= canvas.width) {
            xr = canvas.width - 1;
        }
        // A row whose crossings meet in one column stays empty.
        if (xl < xr) {
            span(canvas, xl, xr, y, color);
        }
    }
}
