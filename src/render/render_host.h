// The render host: plays a script on the virtual clock as the headless host does (its
// simulated devices, trace and user-input script) and writes every frame of the screen,
// with its sound, to a video file. Speech is the desktop's espeak-ng voice, so lips and
// balloon follow the real sound; pictures are painted by the desktop's own painting code
// onto an image, under Qt's offscreen platform (no display needed).
#pragma once

#include <iosfwd>
#include <string>

#include "host/options.h"

namespace rirerazo::render {

// A render that could not write its video (an unwritable path, an encoder failure).
inline constexpr int kExitRenderFailed = 4;

// Renders `options.command_line` to `options.render_path`; returns the exit status.
// `argc`/`argv` go to Qt when no application exists yet.
int RunRender(const host::Options& options, const std::string& program_file_name, int argc,
              char** argv, std::ostream& out, std::ostream& err, bool err_is_terminal);

}  // namespace rirerazo::render
