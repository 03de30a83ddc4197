#pragma once

#include <cstddef>

// One vertex in OpenGL's interleaved GL_T2F_N3F_V3F layout: the same 32 bytes serve as resource
// data, as model data and as the array OpenGL draws from.
struct MeshVertex {
    float texCoord[2]; // s, t
    float normal[3];   // outward, not necessarily of unit length
    float position[3]; // model units
};

static_assert(sizeof(MeshVertex) == 32);
static_assert(offsetof(MeshVertex, texCoord) == 0);
static_assert(offsetof(MeshVertex, normal) == 8);
static_assert(offsetof(MeshVertex, position) == 20);
