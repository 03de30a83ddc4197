// Writes the generated mesh.bin and texture.rgb into the given directory (normally resources/).
#include "tools/mesh_generator.h"
#include "tools/texture_generator.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "make_resources: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_resources DIRECTORY\n");
        return 2;
    }
    const std::string directory = argv[1];
    const bool written = writeFile(directory + "/mesh.bin", generateMeshResource()) &&
                         writeFile(directory + "/texture.rgb", generateTextureResource());
    return written ? 0 : 1;
}
