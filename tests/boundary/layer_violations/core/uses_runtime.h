#include "runtime/events.h"
