// The engine's switches, and the table word below it: a legal arrow.
#pragma once

#include "tables/lookups.h"
