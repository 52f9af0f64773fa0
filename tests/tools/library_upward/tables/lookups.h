// A table word that reads a switch of the engine above it.
#pragma once

#include "engine/settings.h"
