#pragma once

// OpenGL 1.1 and GLU, the only graphics interfaces the renderer uses. The Windows headers must
// come first there, since gl.h uses their calling-convention macros.
#ifdef _WIN32
#include <windows.h>
#endif

#include <GL/gl.h>
#include <GL/glu.h>
