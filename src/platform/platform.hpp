// Linux stand-ins for the window system, the registry and command execution.
#pragma once

#include <string>

namespace korval::platform {

// True when a window system can be reached (DISPLAY or WAYLAND_DISPLAY set
// and the toolkit opens it).  Without one, nothing may wait for a window.
bool display_available();

// A modal message box with an OK button.  Without a display the title and
// the text go to standard error and the call returns at once.
void message_box(const char* title, const char* text);

// Reads a value of the registry stand-in: a text file of "[key]" sections
// and "name=value" lines, $KORVAL_REGISTRY or /etc/korval/registry.
bool registry_read(const char* key, const char* name, std::string& value);

// Runs a command through /bin/sh -c and waits; returns its exit status or
// -1 when it could not be started.
int run_command(const std::string& command);

}  // namespace korval::platform
