#include "support/message.h"
