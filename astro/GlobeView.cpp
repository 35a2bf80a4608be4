#include "astro/GlobeView.h"

#include "astro/GlobeBody.h"
#include "astro/Lanes.h"
#include "astro/OrthographicOrigins.h"
#include "astro/SurfaceShading.h"
#include "image/Image.h"
#include "image/Sampling.h"
#include "raster/Camera.h"
#include "raster/Canvas.h"
#include "raster/Color.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace {

// The shades of a row modulated by their texels: grey × channel / 255 for each
// colour, and the texel's transparency (255 − (255 − t)·255/255 = t). The map's
// kind of store is a template argument, so that each read is straight-line code.
template <std::int32_t storeBytes>
void modulateRow(const BilinearSampler& texels, const TexturePoint* points, const std::uint8_t* greys,
                 std::size_t count, std::uint8_t* rgbt) {
    for (std::size_t i = 0; i < count; ++i) {
        const SampleBytes texel = texels.sampleStore<storeBytes>(points[i].x, points[i].y);
        const std::int32_t grey = greys[i];
        std::uint8_t* color = rgbt + 4 * i;
        color[0] = static_cast<std::uint8_t>(grey * texel.r / 255);
        color[1] = static_cast<std::uint8_t>(grey * texel.g / 255);
        color[2] = static_cast<std::uint8_t>(grey * texel.b / 255);
        color[3] = texel.t;
    }
}

}  // namespace

GlobeView globeView(const Canvas& globeCanvas, std::int32_t unit) {
    GlobeView view;
    if (unit < 1 || !globeCanvas.hasPixels()) {
        return view;
    }
    const std::int32_t clientWidth = 7 * unit;
    const std::int32_t discRadius = (2 * clientWidth - 4 * unit) / 2;
    view.usable = true;
    view.clientWidthPx = clientWidth;
    view.discRadiusPx = discRadius;
    if (unit % 2 == 0) {
        const std::int32_t centre = clientWidth / 2 * 2;  // the largest even number not above W
        view.firstColumn = centre - discRadius;
        view.lastColumn = centre + discRadius;
        view.firstRow = centre - discRadius;
        view.lastRow = centre + discRadius;
        return view;
    }
    // The camera puts the view's centre at half the store's size and spreads the
    // field of view over the store's width.
    const std::int32_t centreX = globeCanvas.width / 2;
    const std::int32_t centreY = globeCanvas.height / 2;
    const double projectedRadiusPx =
        static_cast<double>(globeCanvas.width) * discRadius / (2.0 * clientWidth);
    const auto reach = static_cast<std::int32_t>(std::ceil(projectedRadiusPx)) + 1;
    view.firstColumn = std::max(centreX - reach, 0);
    view.lastColumn = std::min(centreX + reach, globeCanvas.width - 1);
    view.firstRow = std::max(centreY - reach, 0);
    view.lastRow = std::min(centreY + reach, globeCanvas.height - 1);
    return view;
}

void renderBody(Camera& camera, Canvas& globeCanvas, const GlobeView& view, const GlobeBody& body,
                const Image* texture, const Vector3& eye, std::int32_t firstRow, std::int32_t lastRow) {
    camera.projection = ProjectionOrthographic;
    camera.toWorld = Matrix4{};
    camera.toWorld.at(0, 3) = eye.x;
    camera.toWorld.at(1, 3) = eye.y;
    camera.toWorld.at(2, 3) = eye.z;
    inverse(camera.toWorld, camera.toCamera);
    // Forward onto the body, the x axis kept parallel to the equator: celestial
    // north is up in the picture.
    camera.lookAt(body.position);

    // A body without a map draws nothing: its square stays black, traced or not.
    if (texture == nullptr) {
        return;
    }
    const Vector3 sun = sunDirectionInBody(body);
    const double textureWidth = texture->width;
    const double textureHeight = texture->height;
    const BilinearSampler texels(*texture);

    // All rays of the orthographic camera run in one direction: take it from the
    // first ray instead of once per pixel.
    Vector3 origin;
    Vector3 direction;
    camera.pixelRay(view.firstColumn, view.firstRow, origin, direction);
    const BodyRays bodyRays(body, direction);

    // Where the body's centre and limb fall in the camera's viewport, pixels. Rays
    // farther than the limb plus a margin of two pixels (about 90 km on the Earth
    // at U = 28, far beyond any rounding) cannot meet the sphere and are not
    // traced; they would stay black anyway. Without a viewport every ray starts
    // at its centre, and with numbers too large for pixel positions nothing is
    // left out: every pixel of the square is traced.
    const OrthographicOrigins rays(camera);
    const Vector3 centre = transformPoint(camera.toCamera, body.position);
    const double pixelsPerKm = rays.viewportWidthPx() / camera.fov;
    const double centreX = rays.viewportCenterX() + centre.x * pixelsPerKm;
    const double centreY = rays.viewportCenterY() + centre.z * pixelsPerKm;
    const double reachPx = body.radiusKm * pixelsPerKm + 2.0;
    constexpr double largestPositionPx = 1.0e9;
    const bool cullRays = rays.hasViewport() && std::fabs(centreX) < largestPositionPx &&
                          std::fabs(centreY) < largestPositionPx && reachPx < largestPositionPx;

    // Each row is traced in stages over all its pixels: origins, rays, normals
    // and shades two pixels at a time, then, for the pixels with surface, the
    // map's point, the texel and the colour. Every pixel gets exactly the
    // operations of a pixel-by-pixel loop, but the long chain of square roots and
    // divisions of one pixel no longer holds up the next: the independent
    // pixels of a stage overlap in the processor. Per-pixel arrays have a place
    // more than the longest row, since the last pair may hold only one pixel.
    const std::size_t span = static_cast<std::size_t>(std::max(view.lastColumn - view.firstColumn + 1, 0));
    RayRow traced(span);
    std::vector<double> normalX(span + 1);  // the unit normal at the ray's point
    std::vector<double> normalY(span + 1);
    std::vector<double> normalZ(span + 1);
    std::vector<double> sines(span + 1);    // the sine of its latitude
    std::vector<std::uint8_t> shades(span + 1);  // its grey 0…255
    // Per pixel with surface, in column order:
    std::vector<std::int32_t> columns(span);    // canvas column
    std::vector<std::uint8_t> greys(span);      // grey 0…255
    std::vector<TexturePoint> points(span);     // where it falls in the map, map pixels
    std::vector<std::uint8_t> rgbt(4 * span);   // final colour: red, green, blue, transparency

    for (std::int32_t row = std::max(firstRow, view.firstRow); row <= std::min(lastRow, view.lastRow); ++row) {
        std::int32_t first = view.firstColumn;
        std::int32_t last = view.lastColumn;
        if (cullRays) {
            const double rowOffset = row - centreY;
            if (!(rowOffset * rowOffset < reachPx * reachPx)) {
                continue;
            }
            const double halfChord = std::sqrt(reachPx * reachPx - rowOffset * rowOffset);
            first = std::max(first, static_cast<std::int32_t>(std::floor(centreX - halfChord)));
            last = std::min(last, static_cast<std::int32_t>(std::ceil(centreX + halfChord)));
            if (first > last) {
                continue;
            }
        }
        const OrthographicOrigins::Row rowTerms = rays.row(row);
        traced.count = static_cast<std::size_t>(last - first + 1);
        for (std::size_t i = 0; i < traced.count; i += 2) {
            const Vector3Lanes o = rays.originLanes(rowTerms, first + static_cast<std::int32_t>(i));
            storeLanes(&traced.x[i], o.x);
            storeLanes(&traced.y[i], o.y);
            storeLanes(&traced.z[i], o.z);
        }
        bodyRays.trace(traced);
        for (std::size_t i = 0; i < traced.count; i += 2) {
            const Lanes x = loadLanes(&traced.x[i]);
            const Lanes y = loadLanes(&traced.y[i]);
            const Lanes z = loadLanes(&traced.z[i]);
            const Lanes lengthKm = sqrt(x * x + y * y + z * z);
            const LaneMask nonZero = lengthKm != bothLanes(0.0);
            const Lanes nz = select(nonZero, z / lengthKm, z);
            storeLanes(&normalX[i], select(nonZero, x / lengthKm, x));
            storeLanes(&normalY[i], select(nonZero, y / lengthKm, y));
            storeLanes(&normalZ[i], nz);
            // normal.z is the very quotient hit.z / |hit| the latitude needs.
            storeLanes(&sines[i], select(lengthKm > bothLanes(0.0), nz, bothLanes(0.0)));
        }
        for (std::size_t i = 0; i < traced.count; i += 2) {
            const Vector3Lanes normal{loadLanes(&normalX[i]), loadLanes(&normalY[i]), loadLanes(&normalZ[i])};
            const Lanes grey = surfaceShadeLanes(normal, sun) * bothLanes(255.5);
            shades[i] = static_cast<std::uint8_t>(firstLane(grey));
            shades[i + 1] = static_cast<std::uint8_t>(secondLane(grey));
        }
        std::size_t count = 0;
        for (std::size_t i = 0; i < traced.count; ++i) {
            // A ray without surface ahead leaves its pixel black.
            if (!(traced.distanceKm[i] > 0.0)) {
                continue;
            }
            points[count] = textureCoordinatesOfSine({traced.x[i], traced.y[i], traced.z[i]}, sines[i], textureWidth,
                                                     textureHeight);
            texels.prefetch(points[count].x, points[count].y);
            greys[count] = shades[i];
            columns[count] = first + static_cast<std::int32_t>(i);
            ++count;
        }
        switch (texels.storeChannels()) {
            case 1: modulateRow<1>(texels, points.data(), greys.data(), count, rgbt.data()); break;
            case 3: modulateRow<3>(texels, points.data(), greys.data(), count, rgbt.data()); break;
            case 4: modulateRow<4>(texels, points.data(), greys.data(), count, rgbt.data()); break;
            default: modulateRow<0>(texels, points.data(), greys.data(), count, rgbt.data()); break;
        }
        globeCanvas.plotRowBytes(row, columns.data(), rgbt.data(), count, DepthOff, 0.0);
    }
}
