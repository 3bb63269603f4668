#include "core/util/ascii.h"
