// The program's own allocation operators. The program throws and catches no
// exceptions, so running out of memory ends it (abort) where the standard
// operators would throw std::bad_alloc. Replacing them also keeps the
// exception machinery out of the statically linked exes: the throwing
// operator new alone would bring the unwinder, the exception runtime and
// the name demangler of its termination message.
#include <new>
#include <stdlib.h>

namespace {

void* Allocate(size_t size)
{
    // A request for 0 bytes still gives a distinct block.
    void* block = malloc(size ? size : 1);
    if (!block)
        abort();
    return block;
}

} // namespace

void* operator new(size_t size)
{
    return Allocate(size);
}

void* operator new[](size_t size)
{
    return Allocate(size);
}

void operator delete(void* block) noexcept
{
    free(block);
}

void operator delete[](void* block) noexcept
{
    free(block);
}

void operator delete(void* block, size_t) noexcept
{
    free(block);
}

void operator delete[](void* block, size_t) noexcept
{
    free(block);
}
