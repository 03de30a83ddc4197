#pragma once

// What the program's own windows are called, on X11 and on Wayland alike.
inline constexpr const char* windowTitle = "Quillmesh"; // also X11's class name
inline constexpr const char* programName = "quillmesh"; // X11's instance name, Wayland's app id
