#include "forms/checkbox.h"
