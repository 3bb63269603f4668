#include "core/app/media_stop_hook.h"

namespace rirerazo {

void StopMediaOnUnload(Player&) {}

}  // namespace rirerazo
