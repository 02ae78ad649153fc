// A header that breaks the layering: the check must refuse this tree.
#pragma once

#include "wgl/wgl_drawable.h"
