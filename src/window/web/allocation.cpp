// The modules' own operator new and delete: libc++'s bring in the new
// handler and std::terminate, whose message goes to stderr, and stdio needs
// WASI, which the page does not give. Out of memory traps, as a failed
// library check does.
#include <cstdlib>
#include <new>

void* operator new(std::size_t size)
{
    if (void* memory = std::malloc(size ? size : 1)) {
        return memory;
    }
    __builtin_trap();
}

void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
