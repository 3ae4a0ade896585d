#include "forms/form.h"
