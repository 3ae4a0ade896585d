#include "support/umlauts.h"
