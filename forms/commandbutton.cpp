#include "forms/commandbutton.h"
