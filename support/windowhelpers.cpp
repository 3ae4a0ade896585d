#include "support/windowhelpers.h"
