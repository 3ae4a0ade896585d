#include "platform/longpath.h"
