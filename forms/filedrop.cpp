#include "forms/filedrop.h"
