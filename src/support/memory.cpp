// Allocation for the release executable: a failure ends the process
// through the runtime's abort (error box, exit code 3) without pulling in
// exception support.
#include <stdlib.h>

#include <new>

void* operator new(size_t size) {
  void* block = malloc(size ? size : 1);
  if (!block) abort();
  return block;
}
void* operator new[](size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { free(block); }
void operator delete[](void* block) noexcept { free(block); }
void operator delete(void* block, size_t) noexcept { free(block); }
void operator delete[](void* block, size_t) noexcept { free(block); }
