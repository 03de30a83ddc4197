#pragma once

// OpenGL and GLU, from the system folder only. Neither is a known DLL, so an import of either, or
// a load by name, would take a file of that name beside the program first. The program imports
// neither: it keeps its own table of their entry points and fills it from the system folder's
// copies before its first OpenGL call.

// Loads both, for the rest of the process, and looks up every entry point the program calls.
// False when a library or an entry point is missing: no OpenGL call may be made then.
bool loadOpenGlLibraries();
