#include "forms/drivelist.h"
