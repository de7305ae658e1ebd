#pragma once

// Resource identifiers shared by the resource script and the code.

#define BRINDLOW_ICON 1
