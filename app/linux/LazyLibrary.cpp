// Resolves a stub of a lazily loaded library (see LazyLibrary.h). Each stub
// jumps through its slot; a slot starts at code that calls this function,
// which loads the library once, looks the function up, stores it in the slot
// and returns it, so later calls go straight to the library.
//
// A library that is not installed, or that lacks the function, makes the
// function return 0: for SDL that reads as "not available" (no decorations
// library, no screensaver extension, no sound, no console driver), which it
// handles as on a system without that feature.
#include "app/linux/LazyLibrary.h"

#include <dlfcn.h>

#include <mutex>
#include <vector>

extern "C" void* automenu_lazy_slots[];

namespace {

long Unavailable() { return 0; }

struct Library {
    bool tried = false;
    // Kept open for the rest of the process, as a library the program was
    // linked with would be: its functions are in the slots.
    void* handle = nullptr;
};

}  // namespace

extern "C" __attribute__((visibility("hidden"))) void* automenu_lazy_resolve(unsigned index) {
    using namespace automenu::lazy;
    static std::mutex mutex;
    static std::vector<Library> libraries(kLibraryCount);
    const std::lock_guard lock(mutex);
    const Symbol& symbol = kSymbols[index];
    Library& library = libraries[symbol.library];
    if (!library.tried) {
        library.tried = true;
        library.handle = ::dlopen(kLibraries[symbol.library], RTLD_LAZY | RTLD_GLOBAL);
    }
    void* function = library.handle ? ::dlsym(library.handle, symbol.name) : nullptr;
    if (!function) function = reinterpret_cast<void*>(&Unavailable);
    __atomic_store_n(&automenu_lazy_slots[index], function, __ATOMIC_RELEASE);
    return function;
}
