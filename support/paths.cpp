#include "support/paths.h"
