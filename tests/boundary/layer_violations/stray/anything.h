#include "platform/ui.h"
