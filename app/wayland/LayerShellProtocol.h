#pragma once

// The client library's headers are read first, outside the renaming below,
// which would otherwise reach the standard headers they bring.
#include <wayland-client.h>

// The layer-shell protocol's generated header names a parameter "namespace",
// which is a keyword in C++: it is renamed while the header is read.
#define namespace layerNamespace
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace
