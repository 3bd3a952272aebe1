// The sound classes return the platform's result codes.
#pragma once

#include "platform/result_codes.h"
