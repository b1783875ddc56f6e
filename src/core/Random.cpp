#include "core/Random.h"
