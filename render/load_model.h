#pragma once

// Reads the mesh (resource 126) and the texture (resource 127) into a new model at the end of
// modelList and into textureBuffer. A mesh that is missing, shorter than its counts claim, or
// with counts too large to draw loads no model. A short texture fills what it has; the rest of
// textureBuffer stays black.
void loadModel();
