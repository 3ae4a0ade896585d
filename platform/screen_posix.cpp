#include "platform/screen.h"
