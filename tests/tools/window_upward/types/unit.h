// A data class.
#pragma once
