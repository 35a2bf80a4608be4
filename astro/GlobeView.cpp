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
#include "raster/Matrix3.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace {

// The camera of renderBody: lens's view width and canvas, orthographic, at eye,
// looking at target with the x axis kept parallel to the equator, so that
// celestial north is up in the picture.
Camera aimedCamera(const Camera& lens, const Vector3& eye, const Vector3& target) {
    Camera camera;
    camera.canvas = lens.canvas;
    camera.fov = lens.fov;
    camera.projection = ProjectionOrthographic;
    camera.toWorld.at(0, 3) = eye.x;
    camera.toWorld.at(1, 3) = eye.y;
    camera.toWorld.at(2, 3) = eye.z;
    inverse(camera.toWorld, camera.toCamera);
    camera.lookAt(target);
    return camera;
}

// Where the body's centre and limb fall in the camera's viewport, pixels. Rays
// farther than the limb plus a margin of two pixels (about 90 km on the Earth at
// U = 28, far beyond any rounding) cannot meet the sphere and are not traced;
// they would stay black anyway.
class RayCull {
public:
    RayCull(const Camera& camera, const OrthographicOrigins& rays, const GlobeBody& body) {
        const Vector3 centre = transformPoint(camera.toCamera, body.position);
        const double pixelsPerKm = rays.viewportWidthPx() / camera.fov;
        centreX = rays.viewportCenterX() + centre.x * pixelsPerKm;
        centreY = rays.viewportCenterY() + centre.z * pixelsPerKm;
        reachPx = body.radiusKm * pixelsPerKm + 2.0;
        // Without a viewport every ray starts at its centre, and with numbers too
        // large for pixel positions nothing is left out.
        constexpr double largestPositionPx = 1.0e9;
        active = rays.hasViewport() && std::fabs(centreX) < largestPositionPx &&
                 std::fabs(centreY) < largestPositionPx && reachPx < largestPositionPx;
    }

    // Narrows the columns first … last of a row to those within reach of the
    // disc; false when none is.
    bool narrow(std::int32_t row, std::int32_t& first, std::int32_t& last) const {
        if (!active) {
            return true;
        }
        const double rowOffset = row - centreY;
        if (!(rowOffset * rowOffset < reachPx * reachPx)) {
            return false;
        }
        const double halfChord = std::sqrt(reachPx * reachPx - rowOffset * rowOffset);
        first = std::max(first, static_cast<std::int32_t>(std::floor(centreX - halfChord)));
        last = std::min(last, static_cast<std::int32_t>(std::ceil(centreX + halfChord)));
        return first <= last;
    }

private:
    double centreX = 0.0;  // pixels
    double centreY = 0.0;
    double reachPx = 0.0;
    bool active = false;
};

// The per-pixel arrays of one row, each with a place more than the longest row,
// since the last pair of pixels may hold only one.
struct RowWork {
    explicit RowWork(std::size_t span)
        : traced(span),
          shades(span + 1),
          sines(span + 1),
          columns(span),
          greys(span),
          points(span),
          rgbt(4 * span) {}

    RayRow traced;                      // the rays, then their body-frame points
    std::vector<std::uint8_t> shades;   // each ray's grey 0…255
    std::vector<double> sines;          // the sine of its point's latitude
    // Per pixel with surface, in column order:
    std::vector<std::int32_t> columns;  // canvas column
    std::vector<std::uint8_t> greys;    // grey 0…255
    std::vector<TexturePoint> points;   // where it falls in the map, map pixels
    std::vector<std::uint8_t> rgbt;     // final colour: red, green, blue, transparency
};

// The stage "origins": the rays of columns first … first + count − 1 of a row.
void castOrigins(const OrthographicOrigins& rays, std::int32_t row, std::int32_t first, RayRow& traced) {
    const OrthographicOrigins::Row rowTerms = rays.row(row);
    for (std::size_t i = 0; i < traced.count; i += 2) {
        const Vector3Lanes o = rays.originLanes(rowTerms, first + static_cast<std::int32_t>(i));
        storeLanes(&traced.x[i], o.x);
        storeLanes(&traced.y[i], o.y);
        storeLanes(&traced.z[i], o.z);
    }
}

// The stage "shade": each traced point's grey, and the sine of its latitude.
// shade gives the brightness 0 … 1 of two unit normals; it is a template
// argument, so that the sunlight alone is the straight-line code it always was.
template <typename Shade>
void shadeRow(const Shade& shade, RowWork& work) {
    const RayRow& traced = work.traced;
    for (std::size_t i = 0; i < traced.count; i += 2) {
        const SurfaceNormal<Lanes> surface =
            surfaceNormal<Lanes>({loadLanes(&traced.x[i]), loadLanes(&traced.y[i]), loadLanes(&traced.z[i])});
        storeLanes(&work.sines[i], surface.sineLatitude);
        const Lanes grey = shade(surface.normal) * bothLanes(255.5);
        work.shades[i] = static_cast<std::uint8_t>(firstLane(grey));
        work.shades[i + 1] = static_cast<std::uint8_t>(secondLane(grey));
    }
}

// The shades modulated by their texels, colour for colour. The map's kind of
// store is a template argument, so that each read is straight-line code.
template <std::int32_t storeBytes>
void modulateRow(const BilinearSampler& texels, std::size_t count, RowWork& work) {
    for (std::size_t i = 0; i < count; ++i) {
        const TexturePoint point = work.points[i];
        const SampleBytes texel = texels.sampleStore<storeBytes>(point.x, point.y);
        const std::uint8_t grey = work.greys[i];
        Color colour = Color::bytes(grey, grey, grey);
        colour.modulate(Color::bytes(texel.r, texel.g, texel.b, texel.t));
        std::uint8_t* rgbt = &work.rgbt[4 * i];
        rgbt[0] = colour.r;
        rgbt[1] = colour.g;
        rgbt[2] = colour.b;
        rgbt[3] = colour.t;
    }
}

// The stage "texture": the colours of the pixels whose ray has surface ahead,
// in work.columns and work.rgbt; returns how many there are.
std::size_t textureRow(const BilinearSampler& texels, const Image& texture, std::int32_t first, RowWork& work) {
    const RayRow& traced = work.traced;
    std::size_t count = 0;
    for (std::size_t i = 0; i < traced.count; ++i) {
        // A ray without surface ahead leaves its pixel black.
        if (!(traced.distanceKm[i] > 0.0)) {
            continue;
        }
        work.points[count] = textureCoordinatesOfSine({traced.x[i], traced.y[i], traced.z[i]}, work.sines[i],
                                                      texture.width, texture.height);
        texels.prefetch(work.points[count].x, work.points[count].y);
        work.greys[count] = work.shades[i];
        work.columns[count] = first + static_cast<std::int32_t>(i);
        ++count;
    }
    switch (texels.storeChannels()) {
        case 1: modulateRow<1>(texels, count, work); break;
        case 3: modulateRow<3>(texels, count, work); break;
        case 4: modulateRow<4>(texels, count, work); break;
        default: modulateRow<0>(texels, count, work); break;
    }
    return count;
}

}  // namespace

GlobeView globeView(const Canvas& globeCanvas, const GlobeSize& size) {
    GlobeView view;
    if (size.clientWidthPx < 1 || size.discRadiusPx < 1 || !globeCanvas.hasPixels()) {
        return view;
    }
    const std::int32_t clientWidth = size.clientWidthPx;
    const std::int32_t discRadius = size.discRadiusPx;
    view.usable = true;
    view.clientWidthPx = clientWidth;
    view.discRadiusPx = discRadius;
    if (clientWidth % 2 == 0) {
        const std::int32_t centre = clientWidth;
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

// Each row is traced in stages over all its pixels: origins, rays, normals and
// shades two pixels at a time, then, for the pixels with surface, the map's
// point, the texel and the colour. Every pixel gets exactly the operations of a
// pixel-by-pixel loop, but the long chain of square roots and divisions of one
// pixel no longer holds up the next: the independent pixels of a stage overlap
// in the processor.
void renderBody(const Camera& lens, Canvas& globeCanvas, const GlobeView& view, const GlobeBody& body,
                const Image* texture, const Vector3& eye, std::int32_t firstRow, std::int32_t lastRow,
                double earthlight) {
    // A body without a map draws nothing: its square stays black, traced or not.
    if (texture == nullptr) {
        return;
    }
    const Camera camera = aimedCamera(lens, eye, body.position);
    const Vector3 sun = sunDirectionInBody(body);
    const BilinearSampler texels(*texture);
    // All rays of the orthographic camera run in one direction: take it from the
    // first ray instead of once per pixel.
    Vector3 origin;
    Vector3 direction;
    camera.pixelRay(view.firstColumn, view.firstRow, origin, direction);
    const BodyRays bodyRays(body, direction);
    // The eye's light comes back along the rays: from the eye's centre, since
    // the camera looks from there at the body's centre.
    const Vector3 towardEye = -transformVector(body.rotation, direction);
    const auto bySun = [&sun](const Vector3Lanes& normal) { return surfaceShadeOf(normal, sun); };
    const auto bySunAndEye = [&sun, &towardEye, earthlight](const Vector3Lanes& normal) {
        return earthlitShadeOf(normal, sun, towardEye, earthlight);
    };
    const OrthographicOrigins rays(camera);
    const RayCull cull(camera, rays, body);

    RowWork work(static_cast<std::size_t>(std::max(view.lastColumn - view.firstColumn + 1, 0)));
    for (std::int32_t row = std::max(firstRow, view.firstRow); row <= std::min(lastRow, view.lastRow); ++row) {
        std::int32_t first = view.firstColumn;
        std::int32_t last = view.lastColumn;
        if (!cull.narrow(row, first, last)) {
            continue;
        }
        work.traced.count = static_cast<std::size_t>(last - first + 1);
        castOrigins(rays, row, first, work.traced);
        bodyRays.trace(work.traced);
        if (earthlight > 0.0) {
            shadeRow(bySunAndEye, work);
        } else {
            shadeRow(bySun, work);
        }
        const std::size_t count = textureRow(texels, *texture, first, work);
        globeCanvas.plotRowBytes(row, work.columns.data(), work.rgbt.data(), count, DepthOff, 0.0);
    }
}
