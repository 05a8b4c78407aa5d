#pragma once

// A test binary that links counting_allocator.cpp counts every global
// operator new, so a test can prove that a path allocates nothing.
namespace quillon::test {

long allocationCount();

}  // namespace quillon::test
