#include "app/main/startup.h"
