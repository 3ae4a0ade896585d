#include "platform/safewrite.h"
