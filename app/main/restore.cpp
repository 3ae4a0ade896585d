#include "app/main/restore.h"
