// Symbols bound to versions older than the C library the program is built
// with, so that it starts on glibc 2.34 (see cmake/PortableProgram.cmake).
// The program is linked with --wrap for each, so calls to NAME land in
// __wrap_NAME here.
#include <sys/random.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

// hypot: glibc 2.35 gave it a new version for a change in how it reports
// errors, not in its results; calls go on to the version every x86-64 glibc
// has.
extern "C" double automenu_hypot_2_2_5(double x, double y);
__asm__(".symver automenu_hypot_2_2_5, hypot@GLIBC_2.2.5");

extern "C" double __wrap_hypot(double x, double y) { return automenu_hypot_2_2_5(x, y); }

// arc4random (glibc 2.36): the C++ runtime's std::random_device may use it,
// and the runtime's exception classes bring that code in. The same from the
// kernel: like glibc's, it waits for the kernel's pool at early boot and
// ends the program when no randomness can be had.
extern "C" std::uint32_t __wrap_arc4random() {
    std::uint32_t value = 0;
    for (;;) {
        const ssize_t n = ::getrandom(&value, sizeof value, 0);
        if (n == static_cast<ssize_t>(sizeof value)) return value;
        if (n < 0 && errno != EINTR) std::abort();
    }
}
