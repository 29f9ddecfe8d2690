// The libraries SDL is linked with that the program loads only when one of
// their functions is first called (see cmake/PortableProgram.cmake). The
// tables are generated from the SDL library at configure time.
#pragma once

#include <cstdint>

namespace automenu::lazy {

struct Symbol {
    std::uint16_t library;  // index into kLibraries
    const char* name;
};

extern const char* const kLibraries[];  // shared-object names
extern const std::uint16_t kLibraryCount;
extern const Symbol kSymbols[];  // in the order of the stubs' slots

}  // namespace automenu::lazy
