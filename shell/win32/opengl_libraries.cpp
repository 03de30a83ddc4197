#include "shell/win32/opengl_libraries.h"

#include "render/gl.h"
#include "shell/win32/system_library.h"

// gl.h and wingdi.h declare OpenGL's functions as imported, so every call goes through a pointer
// named __imp_<function>; the entries below are those pointers. A call the program gains fails
// to link until its name is added here.
// clang-format off
#define OPENGL_ENTRY_POINTS(entry) \
    entry(glBindTexture)           \
    entry(glBlendFunc)             \
    entry(glClear)                 \
    entry(glClearColor)            \
    entry(glColor4f)               \
    entry(glDisable)               \
    entry(glDrawElements)          \
    entry(glEnable)                \
    entry(glEnableClientState)     \
    entry(glEndList)               \
    entry(glGenLists)              \
    entry(glGenTextures)           \
    entry(glGetError)              \
    entry(glInterleavedArrays)     \
    entry(glLightfv)               \
    entry(glLineWidth)             \
    entry(glLoadIdentity)          \
    entry(glMaterialfv)            \
    entry(glMatrixMode)            \
    entry(glNewList)               \
    entry(glPointSize)             \
    entry(glRotatef)               \
    entry(glShadeModel)            \
    entry(glTexGeni)               \
    entry(glTexImage2D)            \
    entry(glTexParameteri)         \
    entry(glTranslatef)            \
    entry(glViewport)              \
    entry(wglCreateContext)        \
    entry(wglDeleteContext)        \
    entry(wglGetProcAddress)       \
    entry(wglMakeCurrent)
// clang-format on

#define DEFINE_IMPORT_POINTER(name) void* __imp_##name = nullptr;
extern "C" {
OPENGL_ENTRY_POINTS(DEFINE_IMPORT_POINTER)
}

// glu.h declares GLU's functions as plain ones: each is defined here and calls on through the
// table.
// clang-format off
#define GLU_ENTRY_POINTS(entry) \
    entry(gluDeleteQuadric)     \
    entry(gluNewQuadric)        \
    entry(gluPerspective)       \
    entry(gluQuadricNormals)    \
    entry(gluQuadricTexture)    \
    entry(gluSphere)
// clang-format on

namespace {

#define DEFINE_GLU_POINTER(name) decltype(&::name) name##Entry = nullptr;
GLU_ENTRY_POINTS(DEFINE_GLU_POINTER)

template <typename Pointer>
bool lookUp(HMODULE library, const char* name, Pointer& pointer) {
    pointer = reinterpret_cast<Pointer>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return pointer != nullptr;
}

} // namespace

extern "C" {

void APIENTRY gluDeleteQuadric(GLUquadric* quadric) {
    gluDeleteQuadricEntry(quadric);
}

GLUquadric* APIENTRY gluNewQuadric() {
    return gluNewQuadricEntry();
}

void APIENTRY gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    gluPerspectiveEntry(fovy, aspect, zNear, zFar);
}

void APIENTRY gluQuadricNormals(GLUquadric* quadric, GLenum normals) {
    gluQuadricNormalsEntry(quadric, normals);
}

void APIENTRY gluQuadricTexture(GLUquadric* quadric, GLboolean textureCoords) {
    gluQuadricTextureEntry(quadric, textureCoords);
}

void APIENTRY gluSphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks) {
    gluSphereEntry(quadric, radius, slices, stacks);
}

} // extern "C"

bool loadOpenGlLibraries() {
    // GLU32.DLL imports OPENGL32.DLL: loaded first, it is the one GLU finds.
    HMODULE opengl = loadSystemLibrary("OPENGL32.DLL");
    if (opengl == nullptr) {
        return false;
    }
    bool found = true;
#define LOOK_UP_IMPORT(name) found = lookUp(opengl, #name, __imp_##name) && found;
    OPENGL_ENTRY_POINTS(LOOK_UP_IMPORT)
    HMODULE glu = loadSystemLibrary("GLU32.DLL");
    if (glu == nullptr) {
        return false;
    }
#define LOOK_UP_GLU(name) found = lookUp(glu, #name, name##Entry) && found;
    GLU_ENTRY_POINTS(LOOK_UP_GLU)
    return found;
}
