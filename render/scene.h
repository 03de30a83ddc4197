#pragma once

#include <cstdint>

// Fixes the OpenGL state for the run, loads the model and prepares it for drawing. The rendering
// context must be current.
void setupScene();

// Display lists compiled at setup; nothing draws them.
inline std::uint32_t greenMaterialList = 0;
inline std::uint32_t blueMaterialList = 0;
inline std::uint32_t sphereList = 0;
