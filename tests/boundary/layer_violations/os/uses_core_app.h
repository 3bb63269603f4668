#include "core/app/carrier.h"
