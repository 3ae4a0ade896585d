#include "forms/label.h"
