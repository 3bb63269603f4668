#include "desktop/desktop_host.h"

#include <ostream>

namespace rirerazo::desktop {

int RunDesktop(const headless::Options&, const std::string&, int, char**, std::ostream& err) {
  err << "rirerazo: the desktop host is not built yet\n";
  return 1;
}

}  // namespace rirerazo::desktop
