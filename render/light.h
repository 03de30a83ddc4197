#pragma once

// Where light 0 stands: given at setup and again every frame after the camera translation, so
// the light stays fixed to the viewer.
inline constexpr float lightPosition[4] = {0.0f, 0.0f, 90.0f, 1.0f};
