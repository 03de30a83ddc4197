#pragma once

// Draws one picture: sets the projection from the settings' resolution, deforms, turns and draws
// every model, then swaps the buffers. The rendering context must be current and the scene set up.
void drawFrame();
