#pragma once

// Runs the program for one command line: parses it, sets up the run's state and settings, and
// hands over to the handler of the run mode. Returns the process exit code, always 0.
int runEntry(const char* commandLine);
