// Declarations for compile-checking only; never shipped or used on a Mac.
// The host's <sys/stat.h>, with Darwin's name for the modification time:
// struct stat's st_mtimespec is a struct timespec on a Mac, as st_mtim is here.
#pragma once

#include_next <sys/stat.h>

// Apple: sys/stat.h
#define st_mtimespec st_mtim
