#include "headless/event_loop.h"
