#include "core/app/player.h"
