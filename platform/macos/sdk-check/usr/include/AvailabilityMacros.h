// Declarations for compile-checking only; never shipped or used on a Mac.
// Included by third-party headers (GoogleTest) on Apple; nothing of it is
// used by our sources.
#pragma once
