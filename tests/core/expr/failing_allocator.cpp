// Global operator new/delete for the test executable; see failing_allocator.h. Every
// unaligned form is replaced, so memory from these operators is always released by them
// (malloc/free underneath), also inside the sanitizers. The aligned forms stay the
// library's and pair with each other. Default visibility keeps the replacements in force
// for the shared libraries the tests load, despite the project's hidden-by-default setting.
#include "core/expr/failing_allocator.h"

#include <cstdlib>
#include <new>

namespace rirerazo::test_support {
namespace {
thread_local bool fail_next_allocation = false;
}  // namespace

FailingAllocator::FailingAllocator() {
  fail_next_allocation = true;
}
FailingAllocator::~FailingAllocator() {
  fail_next_allocation = false;
}

namespace {
void* Allocate(std::size_t size) {
  if (fail_next_allocation) {
    fail_next_allocation = false;
    throw std::bad_alloc();
  }
  void* memory = std::malloc(size == 0 ? 1 : size);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}

void* AllocateNoThrow(std::size_t size) noexcept {
  try {
    return Allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
}  // namespace
}  // namespace rirerazo::test_support

#define RIRERAZO_EXPORTED __attribute__((visibility("default")))

using rirerazo::test_support::Allocate;
using rirerazo::test_support::AllocateNoThrow;

RIRERAZO_EXPORTED void* operator new(std::size_t size) {
  return Allocate(size);
}
RIRERAZO_EXPORTED void* operator new[](std::size_t size) {
  return Allocate(size);
}
RIRERAZO_EXPORTED void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateNoThrow(size);
}
RIRERAZO_EXPORTED void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateNoThrow(size);
}
RIRERAZO_EXPORTED void operator delete(void* memory) noexcept {
  std::free(memory);
}
RIRERAZO_EXPORTED void operator delete[](void* memory) noexcept {
  std::free(memory);
}
RIRERAZO_EXPORTED void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}
RIRERAZO_EXPORTED void operator delete[](void* memory, std::size_t) noexcept {
  std::free(memory);
}
RIRERAZO_EXPORTED void operator delete(void* memory, const std::nothrow_t&) noexcept {
  std::free(memory);
}
RIRERAZO_EXPORTED void operator delete[](void* memory, const std::nothrow_t&) noexcept {
  std::free(memory);
}
