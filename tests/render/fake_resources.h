#pragma once

#include <cstdint>
#include <map>
#include <vector>

// The resources findResourceBytes hands out, by id; an id not here is missing.
inline std::map<int, std::vector<std::uint8_t>> fakeResources;
