// The render host as a module of its own (rirerazo-render.so beside the program). The
// program loads it only for --render, so a plain run neither loads Qt and FFmpeg nor needs
// them installed.
#include <ostream>
#include <string>

#include "render/render_host.h"
#include "render_module.h"

extern "C" __attribute__((visibility("default"))) int rirerazo_run_render(
    const rirerazo::RenderModuleCall* call) {
  return rirerazo::render::RunRender(*call->options, *call->program_file_name, call->argc,
                                     call->argv, *call->out, *call->err, call->err_is_terminal);
}
