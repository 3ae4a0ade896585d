#include "forms/placeable.h"
