// Other programs of the desktop: finding one on the search path and running it to its
// end; private temporary folders.
#pragma once

#include <string>
#include <vector>

// Whether Program (a name looked up on PATH, or a path) can be run.
bool ProgramAvailable(const std::string& Program);
// Runs Program with Arguments (no shell) and waits for it; its exit code, or -1 when it
// could not start or did not end normally.
int RunProgram(const std::string& Program, const std::vector<std::string>& Arguments);
// A new folder under the system's temporary folder, readable only by this user, with an
// unpredictable name; empty when none can be made.
std::string CreatePrivateTempFolder();
