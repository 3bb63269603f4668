// Lets a test make the next allocation fail, to run out-of-memory paths for real.
//
// The test executable replaces the global operator new/delete (the unaligned forms) with
// versions that forward to malloc/free and throw std::bad_alloc when a FailingAllocator
// scope has asked for it on the calling thread. Outside such a scope nothing changes.
#pragma once

namespace rirerazo::test_support {

// While alive, the first allocation through operator new on this thread throws
// std::bad_alloc; later ones succeed again, so the failure handler can allocate.
class FailingAllocator {
 public:
  FailingAllocator();
  ~FailingAllocator();
  FailingAllocator(const FailingAllocator&) = delete;
  FailingAllocator& operator=(const FailingAllocator&) = delete;
};

}  // namespace rirerazo::test_support
