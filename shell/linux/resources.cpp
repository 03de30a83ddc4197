// The program's resources where there is no platform resource mechanism: arrays built in.
#include "platform/resources.h"

#include "resources/embedded_bytes.h"

ResourceBytes findResourceBytes(int id) {
    switch (id) {
    case meshResourceId:
        return {embeddedMesh, embeddedMeshSize};
    case textureResourceId:
        return {embeddedTexture, embeddedTextureSize};
    default:
        return {};
    }
}
