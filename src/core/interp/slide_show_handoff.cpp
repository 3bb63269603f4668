#include "core/interp/slide_show_handoff.h"

namespace rirerazo {

void StartSlideShow(Player&, const std::string&) {}

}  // namespace rirerazo
