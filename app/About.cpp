#include "app/About.h"

#include "HoravelVersion.h"

std::string aboutText() {
    return std::string("Horavel ") + horavelVersion +
           "\n"
           "A desktop clock whose dial is the Earth or the Moon as they are now.\n"
           "Copyright 2026 the Horavel developers. Free software under the MIT (Expat) licence.\n"
           "\n"
           "Earth map: image credit NASA Visible Earth, http://visibleearth.nasa.gov/ (not copyrighted).\n"
           "Moon map: combined from maps by the USGS Astrogeology Research Program, "
           "http://astrogeology.usgs.gov, and lunar surface textures based on Clementine data "
           "(public domain).";
}
