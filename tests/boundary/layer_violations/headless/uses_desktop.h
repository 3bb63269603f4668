#include "desktop/desktop_host.h"
