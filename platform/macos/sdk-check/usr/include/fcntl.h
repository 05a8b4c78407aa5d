// Declarations for compile-checking only; never shipped or used on a Mac.
// The host's <fcntl.h>, with Darwin's own flags from <sys/fcntl.h>, which
// a Mac's <fcntl.h> includes.
#pragma once

#include_next <fcntl.h>

#include <sys/fcntl.h>
