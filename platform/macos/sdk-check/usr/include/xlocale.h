// Declarations for compile-checking only; never shipped or used on a Mac.
// On a Mac, <xlocale.h> declares locale_t, newlocale, uselocale and
// freelocale; the host's C library has them in <locale.h>.
#pragma once

#include <locale.h>
