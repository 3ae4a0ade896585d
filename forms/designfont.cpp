#include "forms/designfont.h"
