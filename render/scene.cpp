#include "render/scene.h"

#include "render/gl.h"
#include "render/light.h"
#include "render/load_model.h"
#include "render/model.h"
#include "settings/saver_settings.h"

namespace {

constexpr GLfloat lightDiffuse[4] = {1.0f, 0.6f, 0.0f, 0.5f};
constexpr GLfloat lightSpecular[4] = {1.0f, 0.5f, 0.0f, 0.5f};
constexpr GLfloat lightAmbient[4] = {0.7f, 0.3f, 0.0f, 0.5f};

struct Material {
    GLfloat diffuse[4];
    GLfloat specular[4];
    GLfloat ambient[4];
};
constexpr Material greenMaterial{
    {0.3f, 0.7f, 0.0f, 0.5f}, {0.3f, 1.0f, 0.0f, 0.5f}, {0.3f, 0.5f, 0.0f, 0.5f}};
constexpr Material blueMaterial{
    {0.0f, 0.0f, 1.0f, 0.5f}, {1.0f, 0.0f, 1.0f, 1.0f}, {0.05f, 0.05f, 1.05f, 1.0f}};

GLuint compileMaterialList(const Material& material) {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, material.diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, material.specular);
    glMaterialfv(GL_FRONT, GL_AMBIENT, material.ambient);
    glEndList();
    return list;
}

GLuint compileSphereList() {
    GLUquadric* quadric = gluNewQuadric();
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    gluQuadricNormals(quadric, GLU_SMOOTH);
    gluQuadricTexture(quadric, GL_TRUE);
    gluSphere(quadric, 1.0, 15, 15);
    glEndList();
    gluDeleteQuadric(quadric);
    return list;
}

} // namespace

void setupScene() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_NORMALIZE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_LIGHTING);

    glLightfv(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, lightSpecular);
    glLightfv(GL_LIGHT0, GL_AMBIENT, lightAmbient);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glEnable(GL_LIGHT0);

    glEnableClientState(GL_VERTEX_ARRAY);

    greenMaterialList = compileMaterialList(greenMaterial);
    blueMaterialList = compileMaterialList(blueMaterial);
    sphereList = compileSphereList();

    loadModel();

    for (Model* model : modelList) {
        model->createTexture(textureBuffer.data(), textureByteCount, saverSettings.envMap);
        model->enableBlending();
        model->setPointSize(float(saverSettings.dotSize));
        model->setLineWidth(float(saverSettings.lineSize));
        model->bindVertexArrays();
    }
}
