#pragma once

#include <array>
#include <cstdint>

// The eleven display and render settings, each named after its stored value.
struct SaverSettings {
    std::int32_t resolutionX;  // "Resolution X"
    std::int32_t resolutionY;  // "Resolution Y"
    std::int32_t bitDepth;     // "Bit Depth"
    std::int32_t zBufferDepth; // "ZBuffer Depth"
    std::int32_t alphaDepth;   // "Alpha Depth"
    std::int32_t stencilDepth; // "Stencil Depth"
    std::int32_t renderMode;   // "Rendermode"
    std::int32_t timer;        // "Timer"
    std::int32_t envMap;       // "EnvMap"
    std::int32_t lineSize;     // "Line Size"
    std::int32_t dotSize;      // "Dot Size"
};

// All zeros until readSettings has run.
inline SaverSettings saverSettings{};

struct StoredSetting {
    const char* name;
    std::int32_t SaverSettings::*field;
};

// The order in which the values are read and written: "Dot Size" comes before "Line Size".
inline constexpr std::array<StoredSetting, 11> storedSettings{{
    {"Resolution X", &SaverSettings::resolutionX},
    {"Resolution Y", &SaverSettings::resolutionY},
    {"Bit Depth", &SaverSettings::bitDepth},
    {"ZBuffer Depth", &SaverSettings::zBufferDepth},
    {"Alpha Depth", &SaverSettings::alphaDepth},
    {"Stencil Depth", &SaverSettings::stencilDepth},
    {"Rendermode", &SaverSettings::renderMode},
    {"Timer", &SaverSettings::timer},
    {"EnvMap", &SaverSettings::envMap},
    {"Dot Size", &SaverSettings::dotSize},
    {"Line Size", &SaverSettings::lineSize},
}};

inline constexpr SaverSettings defaultSettings{
    .resolutionX = 800,
    .resolutionY = 600,
    .bitDepth = 16,
    .zBufferDepth = 16,
    .alphaDepth = 8,
    .stencilDepth = 0,
    .renderMode = 0,
    .timer = 0,
    .envMap = 0,
    .lineSize = 2,
    .dotSize = 8,
};

// The sizes that the dialog's fields and the Linux options take, in pixels.
struct SizeRange {
    std::int32_t lowest;
    std::int32_t highest;
};
inline constexpr SizeRange dotSizeRange{1, 20};
inline constexpr SizeRange lineSizeRange{1, 10};

// The largest side of a window or picture that the saver makes. No display is larger, and a
// window beyond what the window system can draw into stalls it.
inline constexpr std::int32_t largestWindowSide = 16384;

void setDefaultSettings();

// All stored values, or all defaults when the key is missing or any value is missing or not
// exactly four bytes long.
void readSettings();

// Stores all eleven values; false when the key could not be created or a value not kept. A value
// that fails does not stop the others.
bool writeSettings();
