#include "forms/textbox.h"
