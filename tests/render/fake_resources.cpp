#include "tests/render/fake_resources.h"

#include "platform/resources.h"

ResourceBytes findResourceBytes(int id) {
    const auto found = fakeResources.find(id);
    if (found == fakeResources.end()) {
        return {};
    }
    return {found->second.data(), found->second.size()};
}
