// Declarations for compile-checking only; never shipped or used on a Mac.
// API_AVAILABLE(macos(x)) as clang's availability attribute, so that a call
// to an interface newer than the deployment target (macOS 13) is reported
// under -Wunguarded-availability, as on a Mac.
#pragma once

// sdk-check: spells out the platform for the attribute below.
#define SDK_CHECK_AVAILABLE_macos(version) macos, introduced = version

// Apple: os/availability.h
#define API_AVAILABLE(platform) __attribute__((availability(SDK_CHECK_AVAILABLE_##platform)))
