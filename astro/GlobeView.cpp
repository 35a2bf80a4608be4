#include "astro/GlobeView.h"

#include "astro/GlobeBody.h"
#include "astro/SurfaceShading.h"
#include "image/Image.h"
#include "raster/Camera.h"
#include "raster/Canvas.h"
#include "raster/Color.h"

#include <algorithm>
#include <cmath>

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
                const Image* texture, const Vector3& eye) {
    camera.projection = ProjectionOrthographic;
    camera.toWorld = Matrix4{};
    camera.toWorld.at(0, 3) = eye.x;
    camera.toWorld.at(1, 3) = eye.y;
    camera.toWorld.at(2, 3) = eye.z;
    inverse(camera.toWorld, camera.toCamera);
    // Forward onto the body, the x axis kept parallel to the equator: celestial
    // north is up in the picture.
    camera.lookAt(body.position);

    globeCanvas.clear();
    const Vector3 sun = sunDirectionInBody(body);
    const double textureWidth = texture != nullptr ? texture->width : 0.0;
    const double textureHeight = texture != nullptr ? texture->height : 0.0;

    // All rays of the orthographic camera run in one direction: take it, turned
    // into the body frame, from the first ray instead of once per pixel.
    Vector3 origin;
    Vector3 direction;
    camera.pixelRay(view.firstColumn, view.firstRow, origin, direction);
    const Vector3 bodyDirection = apply(body.rotation, direction);

    // Where the body's centre and limb fall on the canvas, pixels. Rays farther
    // than the limb plus a margin of two pixels (about 90 km on the Earth at
    // U = 28, far beyond any rounding) cannot meet the sphere and are not traced;
    // they would stay black anyway.
    const Vector3 centre = transformPoint(camera.toCamera, body.position);
    const double pixelsPerKm = globeCanvas.width / camera.fov;
    const double centreX = globeCanvas.width / 2 + centre.x * pixelsPerKm;
    const double centreY = globeCanvas.height / 2 + centre.z * pixelsPerKm;
    const double reachPx = body.radiusKm * pixelsPerKm + 2.0;

    for (std::int32_t row = view.firstRow; row <= view.lastRow; ++row) {
        const double rowOffset = row - centreY;
        if (!(rowOffset * rowOffset < reachPx * reachPx)) {
            continue;
        }
        const double halfChord = std::sqrt(reachPx * reachPx - rowOffset * rowOffset);
        const auto first = std::max(view.firstColumn, static_cast<std::int32_t>(std::floor(centreX - halfChord)));
        const auto last = std::min(view.lastColumn, static_cast<std::int32_t>(std::ceil(centreX + halfChord)));
        for (std::int32_t column = first; column <= last; ++column) {
            camera.pixelRay(column, row, origin, direction);
            Vector3 hit;
            if (intersectRayBodyDirection(body, origin, bodyDirection, &hit) <= 0.0) {
                continue;  // no surface: the pixel stays black
            }
            const double length = std::sqrt(hit.x * hit.x + hit.y * hit.y + hit.z * hit.z);
            const Vector3 normal = length != 0.0 ? Vector3{hit.x / length, hit.y / length, hit.z / length} : hit;
            const auto grey = static_cast<std::uint8_t>(surfaceShade(normal, sun) * 255.5);
            Color shade = Color::bytes(grey, grey, grey, 0);
            if (texture == nullptr) {
                continue;
            }
            const TexturePoint point = textureCoordinates(hit, textureWidth, textureHeight);
            Color texel;
            texture->sampleBilinear(point.x, point.y, texel);
            shade.modulate(texel);
            globeCanvas.plot(column, row, shade, DepthOff, 0.0);
        }
    }
    globeCanvas.present();
}
